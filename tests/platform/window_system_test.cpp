#include <functional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <csignal>

#include "platform/qt/program_icon.h"
#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_dialog.h"
#include "platform/qt/qt_window_system.h"
#include "resources/dialog_template.h"

using ts::platform::Dialog;
using ts::platform::DialogProc;
using ts::platform::Message;
using ts::platform::QtWindowSystem;
using ts::res::ControlKind;

namespace {

using Kind = Message::Kind;
using Answer = ts::platform::MessageAnswer;
using Buttons = ts::platform::MessageButtons;
using Icon = ts::platform::MessageIcon;
constexpr ts::platform::MessageStyle kWarning{Buttons::Ok, Icon::Warning};

struct Event {
    int templateId;
    Kind kind;
    int id;
    bool operator==(const Event&) const = default;
};

// Every message a procedure hears, across nested dialogs.
struct Log {
    std::vector<Event> events;
    int count(int templateId, Kind kind, int id) const {
        int n = 0;
        for (const Event& e : events) {
            n += (e == Event{templateId, kind, id}) ? 1 : 0;
        }
        return n;
    }
};

// A procedure that records what it hears and lets `react` act on it.
DialogProc recorder(Log& log, int templateId,
                    std::function<void(Dialog&, const Message&)> react = {}) {
    return [&log, templateId, react](Dialog& dialog, const Message& message) {
        log.events.push_back({templateId, message.kind, message.id});
        if (react) {
            react(dialog, message);
        }
    };
}

QWidget* control(QDialog* dialog, int id) {
    return dialog->findChild<QWidget*>(QStringLiteral("control-%1").arg(id));
}

std::u16string u16(const QString& text) {
    return text.toStdU16String();
}

// Runs a template with a procedure; `drive` gets the shown dialog and the
// Dialog the procedure saw, and must lead to endDialog.
struct Harness {
    QtWindowSystem windows;
    Log log;
    Dialog* dialog = nullptr;

    int run(int templateId, std::function<void(QDialog*, Dialog&)> drive,
            std::function<void(Dialog&, const Message&)> react = {}) {
        windows.setDialogObserver([this, drive, templateId](QDialog* shown, int id) {
            if (id == templateId && drive) {
                Dialog* running = dialog;
                drive(shown, *running);
                // A failed check returns early; the dialog must still end.
                QTimer::singleShot(5000, shown, [running] { running->endDialog(-99); });
            }
        });
        return windows.runModal(
            templateId, recorder(log, templateId, [this, react](Dialog& d, const Message& m) {
                dialog = &d;
                if (react) {
                    react(d, m);
                }
            }));
    }
};

}  // namespace

class WindowSystemTest : public QObject {
    Q_OBJECT

private slots:
    void templatesBuildEveryControl_data();
    void templatesBuildEveryControl();
    void geometryFollowsDialogUnits_data();
    void geometryFollowsDialogUnits();
    void tabOrderIsTemplateOrder_data();
    void tabOrderIsTemplateOrder();
    void screenReadersGetNamesAndRoles_data();
    void screenReadersGetNamesAndRoles();
    void textLimitKeepsWholeCharacters();
    void comboBoxKeepsItsFieldText();
    void listViewColumnsAndCells();
    void listViewSelection();
    void upDownArrowsStepAndScroll();
    void keysAndCloseBoxBecomeCommands();
    void iconReportsClicks();
    void endDialogDuringInitNeverShows();
    void ownedDialogIsCentredOnOwner();
    void placeWindowAndScreen();
    void messageBoxResponderAnswers();
    void messageBoxStyles_data();
    void messageBoxStyles();
    void quitClosesInnermostFirst();
    void quitAnswersOpenMessageBox();
    void quitSignalReachesMainWindow();
};

void WindowSystemTest::templatesBuildEveryControl_data() {
    QTest::addColumn<int>("templateId");
    QTest::newRow("main") << ts::res::kMainDialog;
    QTest::newRow("group") << ts::res::kGroupDialog;
    QTest::newRow("total") << ts::res::kTotalDialog;
}

void WindowSystemTest::templatesBuildEveryControl() {
    QFETCH(int, templateId);
    const ts::res::DialogTemplate* layout = ts::res::findDialogTemplate(templateId);
    QVERIFY(layout);
    Harness h;
    h.run(templateId, [&](QDialog* shown, Dialog& dialog) {
        QCOMPARE(u16(shown->windowTitle()), std::u16string(layout->caption));
        QVERIFY(!shown->windowIcon().isNull());
        int labelsWithoutId = 0;
        for (const ts::res::ControlTemplate& c : layout->controls) {
            if (c.id == ts::res::kNoId) {
                ++labelsWithoutId;
                continue;
            }
            QWidget* w = control(shown, c.id);
            QVERIFY2(w, qPrintable(QStringLiteral("control %1 missing").arg(c.id)));
            QCOMPARE(w->property("controlId").toInt(), c.id);
            switch (c.kind) {
                case ControlKind::PushButton:
                    QVERIFY(qobject_cast<QPushButton*>(w));
                    break;
                case ControlKind::Edit:
                    QVERIFY(qobject_cast<QLineEdit*>(w));
                    QCOMPARE(bool(qobject_cast<QLineEdit*>(w)->alignment() & Qt::AlignRight),
                             (c.style & ts::res::kAlignRight) != 0);
                    break;
                case ControlKind::Static:
                    QVERIFY(qobject_cast<QLabel*>(w));
                    break;
                case ControlKind::Icon:
                    QVERIFY(qobject_cast<QLabel*>(w));
                    QVERIFY(!qobject_cast<QLabel*>(w)->pixmap().isNull());
                    break;
                case ControlKind::ListView:
                    QVERIFY(qobject_cast<QTreeWidget*>(w));
                    QVERIFY(dialog.listView(c.id));
                    break;
                case ControlKind::UpDown:
                    QVERIFY(w->findChild<QToolButton*>(QStringLiteral("up")));
                    QVERIFY(w->findChild<QToolButton*>(QStringLiteral("down")));
                    break;
                case ControlKind::ComboBox:
                    QVERIFY(qobject_cast<QComboBox*>(w));
                    // A list to choose from has no field to type into.
                    QCOMPARE(qobject_cast<QComboBox*>(w)->isEditable(),
                             (c.style & ts::res::kListOnly) == 0);
                    QCOMPARE(qobject_cast<QComboBox*>(w)->currentIndex(), -1);
                    break;
                case ControlKind::GroupBox:
                    break;
            }
            const bool hasText = c.kind == ControlKind::PushButton ||
                                 c.kind == ControlKind::Static || c.kind == ControlKind::Edit;
            if (hasText) {
                QCOMPARE(dialog.itemText(c.id), std::u16string(c.text));
            }
        }
        // Labels without an id are built but cannot be found by id.
        QVERIFY(!control(shown, ts::res::kNoId));
        int labels = 0;
        for (QLabel* label : shown->findChildren<QLabel*>()) {
            labels += label->objectName().isEmpty() ? 1 : 0;
        }
        QCOMPARE(labels, labelsWithoutId - (templateId == ts::res::kMainDialog ? 1 : 0));
        dialog.endDialog(5);
    });
    QCOMPARE(h.log.events.front(), (Event{templateId, Kind::InitDialog, 0}));
}

void WindowSystemTest::geometryFollowsDialogUnits_data() {
    templatesBuildEveryControl_data();
}

void WindowSystemTest::geometryFollowsDialogUnits() {
    QFETCH(int, templateId);
    const ts::res::DialogTemplate* layout = ts::res::findDialogTemplate(templateId);
    Harness h;
    h.run(templateId, [&](QDialog* shown, Dialog& dialog) {
        const QStringList gothic{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")};
        QVERIFY2(gothic.contains(shown->font().family()), qPrintable(shown->font().family()));
        QCOMPARE(shown->font().pointSize(), layout->pointSize);
        const ts::platform::DialogBaseUnits units = ts::platform::dialogBaseUnits(shown->font());
        // A 9-point font at 96 dpi: characters about 6 by 12 pixels.
        QVERIFY2(units.x >= 4 && units.x <= 10, qPrintable(QString::number(units.x)));
        QVERIFY2(units.y >= 9 && units.y <= 20, qPrintable(QString::number(units.y)));
        QCOMPARE(
            shown->size(),
            ts::platform::dialogRectToPixels(units, 0, 0, layout->width, layout->height).size());
        for (const ts::res::ControlTemplate& c : layout->controls) {
            QWidget* w = control(shown, c.id);
            if (!w) {
                continue;
            }
            QRect expected = ts::platform::dialogRectToPixels(units, c.x, c.y, c.width, c.height);
            if (c.kind == ControlKind::ComboBox) {
                // Closed, the combo box is as high as an edit.
                expected.setHeight(ts::platform::dialogRectToPixels(units, 0, 0, 0, 14).height());
                QVERIFY(expected.height() <
                        ts::platform::dialogRectToPixels(units, 0, 0, 0, c.height).height());
            }
            QCOMPARE(w->geometry(), expected);
        }
        dialog.endDialog(1);
    });
}

void WindowSystemTest::tabOrderIsTemplateOrder_data() {
    templatesBuildEveryControl_data();
}

void WindowSystemTest::tabOrderIsTemplateOrder() {
    QFETCH(int, templateId);
    const ts::res::DialogTemplate* layout = ts::res::findDialogTemplate(templateId);
    std::vector<int> expected;
    for (const ts::res::ControlTemplate& c : layout->controls) {
        if ((c.style & ts::res::kTabStop) != 0) {
            expected.push_back(c.id);
        }
    }
    Harness h;
    h.run(templateId, [&](QDialog* shown, Dialog& dialog) {
        QWidget* first = control(shown, expected.front());
        std::vector<int> chain;
        QWidget* w = first;
        do {
            const QVariant id = w->property("controlId");
            if (id.isValid() && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
                chain.push_back(id.toInt());
            }
            w = w->nextInFocusChain();
        } while (w != first && chain.size() < 64);
        QCOMPARE(chain, expected);
        // Controls without the tab-stop style are left out of tabbing.
        for (const ts::res::ControlTemplate& c : layout->controls) {
            QWidget* other = control(shown, c.id);
            if (other && (c.style & ts::res::kTabStop) == 0) {
                QVERIFY((other->focusPolicy() & Qt::TabFocus) != Qt::TabFocus);
            }
        }
        dialog.endDialog(1);
    });
}

void WindowSystemTest::screenReadersGetNamesAndRoles_data() {
    templatesBuildEveryControl_data();
}

// What a screen reader hears of each control, and that nothing it can move
// the focus to goes unnamed.
void WindowSystemTest::screenReadersGetNamesAndRoles() {
    QFETCH(int, templateId);
    using Role = QAccessible::Role;
    struct Row {
        int templateId;
        int id;
        Role role;
        QString name;
    };
    const Row rows[] = {
        {ts::res::kMainDialog, 1015, Role::Button, QStringLiteral("追加")},
        {ts::res::kMainDialog, 1016, Role::Button, QStringLiteral("変更")},
        {ts::res::kMainDialog, 1020, Role::Button, QStringLiteral("クリア")},
        {ts::res::kMainDialog, 1018, Role::Button, QStringLiteral("削除")},
        {ts::res::kMainDialog, 1017, Role::Button, QStringLiteral("入力")},
        {ts::res::kMainDialog, 1014, Role::Button, QStringLiteral("通常計算")},
        {ts::res::kMainDialog, 1022, Role::Button, QStringLiteral("区切計算")},
        {ts::res::kMainDialog, 1021, Role::Button, QStringLiteral("詳細表示")},  // renamed below
        {ts::res::kMainDialog, 1000, Role::Tree, QStringLiteral("グループ一覧")},
        {ts::res::kMainDialog, 1028, Role::StaticText, QStringLiteral("総人数 3人")},
        {ts::res::kMainDialog, 1019, Role::StaticText, QStringLiteral("総額 DDD")},
        {ts::res::kMainDialog, 1029, Role::StaticText, QStringLiteral("区切額 CCC")},
        {ts::res::kMainDialog, 1027, Role::StaticText, QStringLiteral("余り BBB")},
        {ts::res::kMainDialog, 1025, Role::StaticText, QStringLiteral("総人数")},
        {ts::res::kMainDialog, 1031, Role::Graphic, QStringLiteral("バージョン情報")},
        {ts::res::kGroupDialog, 1009, Role::EditableText, QStringLiteral("名称")},
        {ts::res::kGroupDialog, 1021, Role::EditableText, QStringLiteral("人数")},
        {ts::res::kGroupDialog, 1025, Role::EditableText, QStringLiteral("割合")},
        {ts::res::kGroupDialog, 1020, Role::EditableText, QStringLiteral("負担額")},
        {ts::res::kGroupDialog, 1022, Role::EditableText, QStringLiteral("加える額")},
        {ts::res::kGroupDialog, 3, Role::Button, QStringLiteral("負担額に加える")},
        {ts::res::kGroupDialog, 1, Role::Button, QStringLiteral("OK")},
        {ts::res::kGroupDialog, 2, Role::Button, QStringLiteral("CANCEL")},
        {ts::res::kGroupDialog, 1028, Role::SpinBox, QStringLiteral("人数の増減")},
        {ts::res::kGroupDialog, 1029, Role::SpinBox, QStringLiteral("割合の増減")},
        {ts::res::kTotalDialog, 1019, Role::EditableText, QStringLiteral("総額")},
        {ts::res::kTotalDialog, 1029, Role::ComboBox, QStringLiteral("区切額")},
        {ts::res::kTotalDialog, 3, Role::Button, QStringLiteral("総負担額を入れる")},
        {ts::res::kTotalDialog, 1, Role::Button, QStringLiteral("OK")},
        {ts::res::kTotalDialog, 2, Role::Button, QStringLiteral("CANCEL")},
    };
    Harness h;
    h.run(templateId, [&](QDialog* shown, Dialog& dialog) {
        // Names follow the texts the procedures write.
        dialog.setItemText(1021, u"詳細表示");
        dialog.setItemText(1028, u"3人");
        const auto spoken = [](QWidget* w) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            return a ? std::pair{a->role(), a->text(QAccessible::Name)}
                     : std::pair{Role::NoRole, QString()};
        };
        int checked = 0;
        for (const Row& r : rows) {
            if (r.templateId != templateId) {
                continue;
            }
            QWidget* w = control(shown, r.id);
            QVERIFY2(w, qPrintable(QString::number(r.id)));
            const auto [role, name] = spoken(w);
            QCOMPARE(name, r.name);
            QCOMPARE(role, r.role);
            ++checked;
        }
        QVERIFY(checked >= 5);
        int focusable = 0;
        for (QWidget* w : shown->findChildren<QWidget*>()) {
            if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisibleTo(shown)) {
                QVERIFY2(!spoken(w).second.isEmpty(),
                         qPrintable(QStringLiteral("%1 %2").arg(w->metaObject()->className(),
                                                                w->objectName())));
                ++focusable;
            }
        }
        QVERIFY(focusable >= 5);
        // The arrows inside an up-down control say which way they step.
        for (QWidget* arrows : shown->findChildren<ts::platform::UpDownControl*>()) {
            for (const char* which : {"up", "down"}) {
                auto* arrow = arrows->findChild<QToolButton*>(QLatin1String(which));
                QVERIFY(arrow);
                QVERIFY(!spoken(arrow).second.isEmpty());
            }
        }
        dialog.endDialog(1);
    });
}

// The limit counts UTF-16 units, but never leaves half of a surrogate pair,
// wherever the cut falls.
void WindowSystemTest::textLimitKeepsWholeCharacters() {
    Harness h;
    h.run(ts::res::kGroupDialog, [&](QDialog* shown, Dialog& dialog) {
        auto* edit = qobject_cast<QLineEdit*>(control(shown, 1009));
        const QString smile = QString::fromUtf16(u"\U0001F600");
        dialog.limitText(1009, 5);
        edit->setFocus();
        edit->setText(QStringLiteral("abc"));
        edit->setCursorPosition(1);
        QGuiApplication::clipboard()->setText(QStringLiteral("x") + smile);
        edit->paste();  // cut in the middle: the caret stays after what was kept
        QCOMPARE(edit->text(), QStringLiteral("axbc"));
        QCOMPARE(edit->cursorPosition(), 2);
        dialog.endDialog(1);
    });
}

void WindowSystemTest::comboBoxKeepsItsFieldText() {
    Harness h;
    h.run(
        ts::res::kTotalDialog,
        [&](QDialog* shown, Dialog& dialog) {
            auto* combo = qobject_cast<QComboBox*>(control(shown, 1029));
            QVERIFY(combo);
            QCOMPARE(combo->currentIndex(), -1);
            QCOMPARE(combo->insertPolicy(), QComboBox::NoInsert);
            // A choice picked from the list is the field's text.
            combo->setCurrentIndex(1);
            QCOMPARE(dialog.itemText(1029), std::u16string(u"1000"));
            // Typing replaces it, and Enter adds nothing to the list.
            combo->lineEdit()->clear();
            combo->setFocus();
            QTest::keyClicks(combo->lineEdit(), QStringLiteral("250"));
            QCOMPARE(dialog.itemText(1029), std::u16string(u"250"));
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
            QCOMPARE(combo->count(), 2);
            dialog.endDialog(1);
        },
        [](Dialog& dialog, const Message& m) {
            if (m.kind == Kind::InitDialog) {
                dialog.setItemText(1029, u"100");
                dialog.insertComboEntry(1029, 0, u"10");
                dialog.insertComboEntry(1029, 1, u"1000");
            }
        });
    // Enter in the combo box is the OK command.
    QCOMPARE(h.log.count(ts::res::kTotalDialog, Kind::Command, 1), 1);
}

void WindowSystemTest::listViewColumnsAndCells() {
    Harness h;
    h.run(ts::res::kMainDialog, [&](QDialog* shown, Dialog& dialog) {
        auto* tree = qobject_cast<QTreeWidget*>(control(shown, 1000));
        ts::platform::ListView* list = dialog.listView(1000);
        QVERIFY(tree && list);
        QCOMPARE(tree->columnCount(), 0);
        list->insertColumn(0, u"ｸﾞﾙｰﾌﾟ名", 70, "");
        list->insertColumn(5, u"支払額", 80, "");
        list->insertColumn(1, u"人数", 40, "");
        QCOMPARE(tree->header()->sectionSize(0), 70);
        QCOMPARE(tree->header()->sectionSize(1), 40);
        QCOMPARE(tree->header()->sectionSize(2), 80);
        list->setCell(u"B", 0, 0, ts::res::Tone::None);
        list->setCell(u"3400円", 2, 0, ts::res::Tone::None);
        // Amounts read from the right, the first column from the left.
        QTreeWidgetItem* b = tree->topLevelItem(0);
        QCOMPARE(b->textAlignment(0) & Qt::AlignHorizontal_Mask, int(Qt::AlignLeft));
        QCOMPARE(b->textAlignment(2) & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
        // Widths and alignment follow the columns that remain.
        list->deleteColumns(1);
        QCOMPARE(tree->header()->sectionSize(0), 40);
        QCOMPARE(b->textAlignment(0) & Qt::AlignHorizontal_Mask, int(Qt::AlignLeft));
        dialog.endDialog(1);
    });
}

void WindowSystemTest::listViewSelection() {
    Harness h;
    h.run(ts::res::kMainDialog, [&](QDialog* shown, Dialog& dialog) {
        auto* tree = qobject_cast<QTreeWidget*>(control(shown, 1000));
        ts::platform::ListView* list = dialog.listView(1000);
        QCOMPARE(tree->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(!tree->rootIsDecorated());
        QVERIFY(!tree->header()->sectionsClickable());
        QVERIFY(tree->frameShape() != QFrame::NoFrame);
        // The selection looks the same with and without focus.
        const QPalette colours = tree->palette();
        QCOMPARE(colours.color(QPalette::Inactive, QPalette::Highlight),
                 colours.color(QPalette::Active, QPalette::Highlight));
        QCOMPARE(colours.color(QPalette::Inactive, QPalette::HighlightedText),
                 colours.color(QPalette::Active, QPalette::HighlightedText));

        list->insertColumn(0, u"name", 70, "");
        for (int r = 0; r < 4; ++r) {
            list->setCell(u"row", 0, r, ts::res::Tone::None);
        }
        list->selectRow(2);
        QCOMPARE(tree->currentIndex().row(), 2);
        QCOMPARE(tree->selectedItems().size(), 1);
        // A click moves the selection.
        const QRect second = tree->visualItemRect(tree->topLevelItem(1));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(list->selectedRow(), 1);
        QCOMPARE(tree->selectedItems().size(), 1);
        dialog.endDialog(1);
    });
}

void WindowSystemTest::upDownArrowsStepAndScroll() {
    Harness h;
    std::vector<int> positionsSeen;
    h.run(
        ts::res::kGroupDialog,
        [&](QDialog* shown, Dialog& dialog) {
            QWidget* people = control(shown, 1028);
            auto* up = people->findChild<QToolButton*>(QStringLiteral("up"));
            auto* down = people->findChild<QToolButton*>(QStringLiteral("down"));
            QVERIFY(up->geometry().bottom() < down->geometry().top());
            QCOMPARE(up->geometry().united(down->geometry()), people->rect());
            // With the arrow-keys style, the keys step it while focused.
            people->setFocus();
            QTest::keyClick(people, Qt::Key_Up);
            QTest::keyClick(people, Qt::Key_Down);
            QTest::keyClick(people, Qt::Key_Left);  // not an arrow of this control
            dialog.endDialog(1);
        },
        [&](Dialog& dialog, const Message& m) {
            if (m.kind == Kind::InitDialog) {
                dialog.setUpDownPosition(1028, 10);
            } else if (m.kind == Kind::VScroll) {
                positionsSeen.push_back(dialog.upDownPosition(m.id));
                dialog.setUpDownPosition(m.id, 10);
            }
        });
    QCOMPARE(positionsSeen, (std::vector<int>{9, 11}));
    QCOMPARE(h.log.count(ts::res::kGroupDialog, Kind::VScroll, 1028), 2);
}

void WindowSystemTest::keysAndCloseBoxBecomeCommands() {
    Harness h;
    const int group = ts::res::kGroupDialog;
    const int result = h.run(group, [&](QDialog* shown, Dialog& dialog) {
        QWidget* name = control(shown, 1009);
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        QTest::keyClick(name, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(name, Qt::Key_Escape);
        // Enter on a focused push button clicks that button.
        QWidget* plus = control(shown, 3);
        plus->setFocus();
        QTest::keyClick(plus, Qt::Key_Return);
        // The close box.
        shown->close();
        QTest::mouseClick(control(shown, 2), Qt::LeftButton);
        QVERIFY(shown->isVisible());
        dialog.endDialog(7);
    });
    QCOMPARE(result, 7);
    const std::vector<Event> expected{{group, Kind::InitDialog, 0}, {group, Kind::Command, 1},
                                      {group, Kind::Command, 1},    {group, Kind::Command, 2},
                                      {group, Kind::Command, 3},    {group, Kind::Command, 2},
                                      {group, Kind::Command, 2}};
    QCOMPARE(h.log.events, expected);
}

void WindowSystemTest::iconReportsClicks() {
    const QPixmap icon = ts::platform::programIcon();
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(icon.hasAlpha());
    Harness h;
    h.run(ts::res::kMainDialog, [&](QDialog* shown, Dialog& dialog) {
        // The window icon comes from the theme icons' drawing, at their sizes.
        QVERIFY(shown->windowIcon().availableSizes().contains(QSize(256, 256)));
        QTest::mouseClick(control(shown, 1031), Qt::LeftButton);
        QTest::mouseClick(control(shown, 1019), Qt::LeftButton);  // a plain label
        // The frame round the totals line lets clicks through to 入力.
        QTest::mouseClick(control(shown, 1017), Qt::LeftButton);
        QWidget* input = control(shown, 1017);
        QCOMPARE(shown->childAt(input->geometry().center()), input);
        dialog.endDialog(1);
    });
    QCOMPARE(h.log.count(ts::res::kMainDialog, Kind::Command, 1031), 1);
    QCOMPARE(h.log.count(ts::res::kMainDialog, Kind::Command, 1019), 0);
    QCOMPARE(h.log.count(ts::res::kMainDialog, Kind::Command, 1017), 1);
}

void WindowSystemTest::endDialogDuringInitNeverShows() {
    QtWindowSystem windows;
    QElapsedTimer elapsed;
    elapsed.start();
    windows.runModal(ts::res::kMainDialog, [](Dialog& d, const Message& m) {
        if (m.kind == Kind::InitDialog) {
            d.endDialog(3);
        }
    });
    // No loop ran, and nothing of it stays open.
    QVERIFY(elapsed.elapsed() < 2000);
    QCOMPARE(windows.innermostDialog(), nullptr);
}

void WindowSystemTest::ownedDialogIsCentredOnOwner() {
    Harness h;
    QRect ownerFrame;
    QRect ownedFrame;
    QWidget* ownedParent = nullptr;
    QDialog* ownerWidget = nullptr;
    h.run(
        ts::res::kMainDialog,
        [&](QDialog* shown, Dialog&) {
            ownerWidget = shown;
            QTest::mouseClick(control(shown, 1017), Qt::LeftButton);
        },
        [&](Dialog& dialog, const Message& m) {
            if (m.kind == Kind::InitDialog) {
                dialog.placeWindow(20, 30, 640, 214);
            } else if (m.kind == Kind::Command && m.id == 1017) {
                ownerFrame = QtWindowSystem::widgetOf(dialog)->frameGeometry();
                QCOMPARE(h.windows.innermostDialog(), QtWindowSystem::widgetOf(dialog));
                h.windows.setDialogObserver([&](QDialog* inner, int id) {
                    QCOMPARE(id, ts::res::kTotalDialog);
                    QCOMPARE(h.windows.innermostDialog(), inner);
                    QVERIFY(inner->isModal());
                    ownedFrame = inner->frameGeometry();
                    ownedParent = inner->parentWidget();
                    inner->close();  // Command 2 ends it below
                });
                dialog.runModal(ts::res::kTotalDialog, [](Dialog& d, const Message& inner) {
                    if (inner.kind == Kind::Command && inner.id == 2) {
                        d.endDialog(1);
                    }
                });
                dialog.endDialog(1);
            }
        });
    QCOMPARE(ownedParent, ownerWidget);
    QVERIFY(!ownedFrame.isEmpty());
    QVERIFY2((ownedFrame.center() - ownerFrame.center()).manhattanLength() <= 8,
             qPrintable(QStringLiteral("%1,%2 vs %3,%4")
                            .arg(ownedFrame.center().x())
                            .arg(ownedFrame.center().y())
                            .arg(ownerFrame.center().x())
                            .arg(ownerFrame.center().y())));
}

void WindowSystemTest::placeWindowAndScreen() {
    Harness h;
    h.run(ts::res::kMainDialog, [&](QDialog* shown, Dialog& dialog) {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(dialog.screenWidth(), screen.width());
        QCOMPARE(dialog.screenHeight(), screen.height());
        // The window never gets smaller than its template in its font.
        const QSize natural = shown->size();
        const QSize frame = shown->frameGeometry().size() - natural;
        QVERIFY(natural.width() > 240 && natural.height() > 100);
        struct Row {
            QPoint at;
            QSize asked;
            QPoint placed;
            QSize size;
        };
        const QSize inside = area.size() - frame;
        const QPoint corner = area.bottomRight() + QPoint(1, 1);
        for (const Row& r : {
                 Row{area.topLeft(), {240, 100}, area.topLeft(), natural},
                 Row{area.topLeft() + QPoint(10, 5),
                     {-3, 100},
                     area.topLeft() + QPoint(10, 5),
                     natural},
                 Row{area.topLeft(), natural + QSize(30, 1), area.topLeft(),
                     natural + QSize(30, 1)},
                 Row{area.topLeft(),
                     {natural.width(), 5000},
                     area.topLeft(),
                     {natural.width(), inside.height()}},
                 // Kept inside the available area, position and size.
                 Row{area.topLeft() - QPoint(50, 60), natural, area.topLeft(), natural},
                 Row{corner, natural,
                     corner - QPoint(natural.width(), natural.height()) -
                         QPoint(frame.width(), frame.height()),
                     natural},
                 Row{area.topLeft() + QPoint(20, 20), {100000, 100000}, area.topLeft(), inside},
             }) {
            dialog.placeWindow(r.at.x(), r.at.y(), r.asked.width(), r.asked.height());
            QCOMPARE(shown->size(), r.size);
            QCOMPARE(shown->pos(), r.placed);
        }
        dialog.invalidate();
        dialog.endDialog(1);
    });
}

void WindowSystemTest::messageBoxResponderAnswers() {
    QtWindowSystem windows;
    struct Call {
        std::u16string text, caption;
        ts::platform::MessageStyle style;
    };
    std::vector<Call> calls;
    windows.setMessageBoxResponder([&](std::u16string_view text, std::u16string_view caption,
                                       ts::platform::MessageStyle style) {
        calls.push_back({std::u16string(text), std::u16string(caption), style});
        return calls.size() == 1 ? Answer::Cancel : Answer::Ok;
    });
    QCOMPARE(windows.messageBox(u"全グループをクリアしますか？", u"クリア", {Buttons::OkCancel}),
             Answer::Cancel);
    Answer fromDialog = Answer::Cancel;
    windows.runModal(ts::res::kGroupDialog, [&](Dialog& d, const Message& m) {
        if (m.kind == Kind::InitDialog) {
            fromDialog = d.messageBox(u"数値を入力してください", u"エラー", kWarning);
            d.endDialog(1);
        }
    });
    QCOMPARE(fromDialog, Answer::Ok);
    QCOMPARE(calls.size(), std::size_t{2});
    QCOMPARE(calls[1].text, std::u16string(u"数値を入力してください"));
    QCOMPARE(calls[1].caption, std::u16string(u"エラー"));
    QVERIFY(calls[1].style == kWarning);
}

void WindowSystemTest::messageBoxStyles_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("iconIn");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("shownTexts");  // the buttons' texts, accepting one first
    QTest::addColumn<int>("press");           // the standard button clicked; 0 for Escape
    QTest::addColumn<int>("answer");
    const int ok = QMessageBox::Ok;
    const int cancel = QMessageBox::Cancel;
    QTest::newRow("error, OK") << int(Buttons::Ok) << int(Icon::Warning)
                               << int(QMessageBox::Warning) << "OK" << ok << int(Answer::Ok);
    QTest::newRow("about, Escape") << int(Buttons::Ok) << int(Icon::Information)
                                   << int(QMessageBox::Information) << "OK" << 0 << int(Answer::Ok);
    QTest::newRow("confirm, OK") << int(Buttons::OkCancel) << int(Icon::None)
                                 << int(QMessageBox::NoIcon) << "OK|キャンセル" << ok
                                 << int(Answer::Ok);
    QTest::newRow("confirm, Cancel")
        << int(Buttons::OkCancel) << int(Icon::None) << int(QMessageBox::NoIcon) << "OK|キャンセル"
        << cancel << int(Answer::Cancel);
    QTest::newRow("confirm, Escape")
        << int(Buttons::OkCancel) << int(Icon::None) << int(QMessageBox::NoIcon) << "OK|キャンセル"
        << 0 << int(Answer::Cancel);
    QTest::newRow("retry, Retry") << int(Buttons::RetryCancel) << int(Icon::Warning)
                                  << int(QMessageBox::Warning) << "再試行|キャンセル"
                                  << int(QMessageBox::Retry) << int(Answer::Retry);
    QTest::newRow("question, No") << int(Buttons::YesNo) << int(Icon::Question)
                                  << int(QMessageBox::Question) << "はい|いいえ"
                                  << int(QMessageBox::No) << int(Answer::No);
    QTest::newRow("question, Escape")
        << int(Buttons::YesNo) << int(Icon::Question) << int(QMessageBox::Question) << "はい|いいえ"
        << 0 << int(Answer::No);
}

void WindowSystemTest::messageBoxStyles() {
    QFETCH(int, buttons);
    QFETCH(int, iconIn);
    QFETCH(int, icon);
    QFETCH(QString, shownTexts);
    QFETCH(int, press);
    QFETCH(int, answer);
    QtWindowSystem windows;
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || seen) {
            return;
        }
        seen = true;
        QCOMPARE(box->windowTitle(), QStringLiteral("見出し"));
        QCOMPARE(box->text(), QStringLiteral("本文\n二行目"));
        QCOMPARE(int(box->icon()), icon);
        QStringList texts;
        for (QAbstractButton* button : box->buttons()) {
            texts << button->text();
        }
        QCOMPARE(texts.size(), shownTexts.split('|').size());
        for (const QString& text : shownTexts.split('|')) {
            QVERIFY2(texts.contains(text), qPrintable(text));
        }
        QCOMPARE(box->defaultButton()->text(), shownTexts.split('|').constFirst());
        if (press == 0) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->button(QMessageBox::StandardButton(press))->click();
        }
    });
    poll.start();
    const ts::platform::MessageStyle style{Buttons(buttons), Icon(iconIn)};
    QCOMPARE(int(windows.messageBox(u"本文\n二行目", u"見出し", style)), answer);
    QVERIFY(seen);
}

void WindowSystemTest::quitClosesInnermostFirst() {
    Harness h;
    const int main = ts::res::kMainDialog;
    const int group = ts::res::kGroupDialog;
    h.run(
        main,
        [&](QDialog* shown, Dialog&) { QTest::mouseClick(control(shown, 1015), Qt::LeftButton); },
        [&](Dialog& dialog, const Message& m) {
            if (m.kind != Kind::Command) {
                return;
            }
            if (m.id == 1015) {
                h.windows.setDialogObserver([&](QDialog*, int) { h.windows.requestQuit(); });
                dialog.runModal(group, recorder(h.log, group, [](Dialog& d, const Message& inner) {
                                    if (inner.kind == Kind::Command && inner.id == 2) {
                                        d.endDialog(1);
                                    }
                                }));
            } else if (m.id == 2) {
                dialog.endDialog(1);
            }
        });
    const std::vector<Event> expected{{main, Kind::InitDialog, 0},
                                      {main, Kind::Command, 1015},
                                      {group, Kind::InitDialog, 0},
                                      {group, Kind::Command, 2},
                                      {main, Kind::Command, 2}};
    QCOMPARE(h.log.events, expected);
}

void WindowSystemTest::quitAnswersOpenMessageBox() {
    Harness h;
    const int group = ts::res::kGroupDialog;
    Answer answer = Answer::Ok;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll.stop();
            h.windows.requestQuit();
        }
    });
    h.run(
        group,
        [&](QDialog* shown, Dialog&) { QTest::mouseClick(control(shown, 3), Qt::LeftButton); },
        [&](Dialog& dialog, const Message& m) {
            if (m.kind == Kind::Command && m.id == 3) {
                poll.start();
                answer = dialog.messageBox(u"本文", u"見出し", {Buttons::OkCancel});
            } else if (m.kind == Kind::Command && m.id == 2) {
                dialog.endDialog(1);
            }
        });
    QCOMPARE(answer, Answer::Cancel);
    const std::vector<Event> expected{
        {group, Kind::InitDialog, 0}, {group, Kind::Command, 3}, {group, Kind::Command, 2}};
    QCOMPARE(h.log.events, expected);
}

void WindowSystemTest::quitSignalReachesMainWindow() {
    const int main = ts::res::kMainDialog;
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        Harness h;
        h.windows.installQuitHandlers();
        h.run(
            main, [&](QDialog*, Dialog&) { std::raise(signalNumber); },
            [](Dialog& dialog, const Message& m) {
                if (m.kind == Kind::Command && m.id == 2) {
                    dialog.endDialog(1);
                }
            });
        QCOMPARE(h.log.count(main, Kind::Command, 2), 1);
    }
}

int runWindowSystemTests(int argc, char** argv) {
    WindowSystemTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_system_test.moc"
