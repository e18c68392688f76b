// The baseline for the start-up benchmark: a bare Qt 6 dialog with a list
// view, started, shown and ended the same way as the program. It shows the
// main window's Japanese texts and ten rows like the program's, so that both
// pay for the same fonts.
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
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
    list->setHeaderLabels({QStringLiteral("ｸﾞﾙｰﾌﾟ名"), QStringLiteral("人数"),
                           QStringLiteral("割合"), QStringLiteral("負担額"),
                           QStringLiteral("支払額"), QStringLiteral("差引額")});
    for (int i = 1; i <= 10; ++i) {
        auto* row = new QTreeWidgetItem(list);
        row->setText(0, QStringLiteral("グループ%1").arg(i));
        row->setText(1, QStringLiteral("%1人").arg(1 + (i - 1) % 4));
        row->setText(2, QStringLiteral("100%"));
        row->setText(3, QStringLiteral("0円"));
        row->setText(4, QStringLiteral("0円"));
        row->setText(5, QStringLiteral("0円"));
    }
    layout->addWidget(list);
    auto* buttons = new QHBoxLayout;
    for (const char* text : {"総人数", "総額", "区切額", "余り"}) {
        buttons->addWidget(new QLabel(QString::fromUtf8(text), &dialog));
    }
    for (const char* text :
         {"追加", "変更", "クリア", "削除", "入力", "通常計算", "区切計算", "簡易表示"}) {
        buttons->addWidget(new QPushButton(QString::fromUtf8(text), &dialog));
    }
    layout->addLayout(buttons);
    QObject::connect(&notifier, &QSocketNotifier::activated, &dialog,
                     [&dialog] { dialog.done(1); });
    dialog.show();
    QTimer::singleShot(0, &dialog, [] { std::fprintf(stderr, "dialog 101 is shown\n"); });
    return dialog.exec();
}
