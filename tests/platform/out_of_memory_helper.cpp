// A program whose dialog procedure runs out of memory: the window system must
// show "out of memory" and end the process with status 1. The message box is
// answered through the test seam, which prints what it was asked.
#include <QApplication>
#include <cstdio>
#include <new>

#include "platform/qt/qt_window_system.h"
#include "resources/dialog_template.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    ts::platform::QtWindowSystem windows;
    windows.setMessageBoxResponder([](std::u16string_view text, std::u16string_view caption,
                                      ts::platform::MessageStyle style) {
        std::printf("box: %s | %s | %s\n",
                    QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()))
                        .toUtf8()
                        .constData(),
                    QString::fromUtf16(caption.data(), static_cast<qsizetype>(caption.size()))
                        .toUtf8()
                        .constData(),
                    style.icon == ts::platform::MessageIcon::Warning ? "warning" : "other");
        std::fflush(stdout);
        return ts::platform::MessageAnswer::Ok;
    });
    windows.runModal(
        ts::res::kTotalDialog,
        [](ts::platform::Dialog&, const ts::platform::Message&) { throw std::bad_alloc(); });
    std::printf("still running\n");
    return 0;
}
