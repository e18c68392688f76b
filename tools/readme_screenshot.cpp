// Renders the README's picture: the real main window with a few groups after
// a rounded calculation, drawn by the program's own code.
//
// Usage: readme_screenshot OUTPUT.png   (QT_QPA_PLATFORM defaults to offscreen)
#include <cstdio>
#include <filesystem>

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QPixmap>

#include "app/app_state.h"
#include "app/main_window.h"
#include "model/party.h"
#include "platform/qt/program_icon.h"
#include "platform/qt/qt_window_system.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "storage/settings_file.h"
#include "storage/text.h"

namespace {

void addGroup(ts::Party& party, std::u16string name, int people, int ratio, int advance) {
    auto group = ts::Group::create(name);
    group->people = people;
    group->ratio = ratio;
    group->advance = advance;
    party.addGroup(std::move(group));
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(ts::platform::programIcon()));

    const auto dir = std::filesystem::temp_directory_path() / "ts-readme-screenshot";
    std::filesystem::create_directories(dir);
    ts::Party party(u"FIRST");
    party.total = 52000;
    party.unit = 1000;
    addGroup(party, u"部長", 1, 100, 30000);
    addGroup(party, u"社員", 6, 100, 0);
    addGroup(party, u"新人", 3, 50, 0);
    addGroup(party, u"ゲスト", 2, 0, 0);
    ts::app::AppState state;
    const std::u16string path = ts::fromUtf8((dir / "ts.cfg").string());
    ts::saveToPath(path, party);
    state.store = std::make_unique<ts::FileStore>(path);

    ts::app::MainWindow mainWindow(state);
    ts::platform::Dialog* window = nullptr;
    ts::platform::QtWindowSystem windows;
    bool saved = false;
    windows.setDialogObserver([&](QDialog* dialog, int) {
        using ts::platform::Message;
        mainWindow.handle(*window, {Message::Kind::Command, ts::id::main::kCalculateRounded});
        QApplication::processEvents();
        saved = dialog->grab().save(QString::fromLocal8Bit(argv[1]));
        mainWindow.handle(*window, {Message::Kind::Command, ts::id::kCancel});
    });
    windows.runModal(ts::res::kMainDialog,
                     [&](ts::platform::Dialog& dialog, const ts::platform::Message& message) {
                         window = &dialog;
                         mainWindow.handle(dialog, message);
                     });
    std::filesystem::remove_all(dir);
    return saved ? 0 : 1;
}
