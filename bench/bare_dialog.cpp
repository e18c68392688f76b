// The baseline for the start-up benchmark: a bare Qt 6 dialog with a list
// view, started, shown and ended the same way as the program.
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdio>

namespace {

int quitPipe[2];

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] auto written = ::write(quitPipe[1], &byte, 1);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (::pipe(quitPipe) != 0) {
        return 2;
    }
    ::signal(SIGTERM, onSignal);
    QSocketNotifier notifier(quitPipe[0], QSocketNotifier::Read);

    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("bare"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QTreeWidget(&dialog);
    list->setHeaderLabels({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    layout->addWidget(list);
    QObject::connect(&notifier, &QSocketNotifier::activated, &dialog,
                     [&dialog] { dialog.done(1); });
    dialog.show();
    QTimer::singleShot(0, &dialog, [] { std::fprintf(stderr, "dialog 101 is shown\n"); });
    return dialog.exec();
}
