// The program's screens with the real widgets on the offscreen platform:
// the main window, the group dialog and the total dialog, driven the way a
// user drives them, with the settings file in a temporary folder.
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "app/application.h"
#include "model/evening.h"
#include "model/party.h"
#include "platform/qt/qt_window_system.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "storage/evening_file.h"
#include "storage/settings_file.h"

namespace {

using ts::platform::MessageAnswer;
namespace id = ts::id;
namespace res = ts::res;

class FirstCopy final : public ts::platform::InstanceLock {
public:
    bool acquire() override { return true; }
    void activateRunningCopy() override {}
};

struct Box {
    QString text;
    QString caption;
    ts::platform::MessageStyle style;
};

QString qs(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename Widget = QWidget>
Widget* control(QDialog* dialog, int controlId) {
    auto* widget = dialog->findChild<Widget*>(QStringLiteral("control-%1").arg(controlId));
    if (widget == nullptr) {
        qWarning("control %d not found", controlId);
    }
    return widget;
}

QString textOf(QDialog* dialog, int controlId) {
    QWidget* widget = control(dialog, controlId);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return combo->currentText();
    }
    return QStringLiteral("<no text>");
}

void click(QDialog* dialog, int controlId) {
    QTest::mouseClick(control(dialog, controlId), Qt::LeftButton);
}

// Types into a line edit: ASCII through key presses, anything else the way
// a Japanese input method delivers it, as a committed string.
void typeText(QLineEdit* edit, const QString& text) {
    bool ascii = true;
    for (QChar c : text) {
        ascii = ascii && c.unicode() < 0x80;
    }
    if (ascii) {
        QTest::keyClicks(edit, text);
        return;
    }
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(edit, &event);
}

// Replaces a field's text by typing, as a user would.
void typeInto(QDialog* dialog, int controlId, const QString& text) {
    auto* edit = control<QLineEdit>(dialog, controlId);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(edit, text);
}

QTreeWidget* list(QDialog* window) {
    return control<QTreeWidget>(window, id::main::kGroupList);
}

QStringList row(QDialog* window, int index) {
    QStringList texts;
    QTreeWidgetItem* item = list(window)->topLevelItem(index);
    if (item == nullptr) {
        return {QStringLiteral("<no row %1>").arg(index)};
    }
    for (int c = 0; c < list(window)->columnCount(); ++c) {
        texts << item->text(c);
    }
    return texts;
}

QStringList column(QDialog* window, int columnIndex) {
    QStringList texts;
    for (int r = 0; r < list(window)->topLevelItemCount(); ++r) {
        texts << list(window)->topLevelItem(r)->text(columnIndex);
    }
    return texts;
}

int selectedRow(QDialog* window) {
    const auto items = list(window)->selectedItems();
    return items.isEmpty() ? -1 : list(window)->indexOfTopLevelItem(items.first());
}

void selectRow(QDialog* window, int index) {
    QTreeWidget* tree = list(window);
    const QRect rect = tree->visualItemRect(tree->topLevelItem(index));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
}

QStringList totals(QDialog* window) {
    return {textOf(window, id::main::kPeopleText), textOf(window, id::main::kTotalText),
            textOf(window, id::main::kUnitText), textOf(window, id::main::kRemainderText)};
}

// Runs the program with scripts for the dialogs it opens; every dialog that
// opens must have a script queued.
class Program {
public:
    using Script = std::function<void(QDialog*)>;

    explicit Program(const QString& folder) : path_(folder + QStringLiteral("/ts.cfg")) {
        windows_.setDialogObserver([this](QDialog* dialog, int templateId) {
            auto& queue = scripts_[templateId];
            if (queue.empty()) {
                qWarning("no script for dialog %d", templateId);
                return;
            }
            Script script = std::move(queue.front());
            queue.pop_front();
            script(dialog);
            if (QTest::currentTestFailed()) {
                windows_.requestQuit();  // a failed check must not leave a window open
            }
        });
        windows_.setMessageBoxResponder([this](std::u16string_view text,
                                               std::u16string_view caption,
                                               ts::platform::MessageStyle style) {
            boxes.push_back({qs(text), qs(caption), style});
            if (answers.empty()) {
                return MessageAnswer::Ok;
            }
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }

    // Lays the windows out in this face instead of the templates' own.
    void useFace(const QString& family) { windows_.setDialogFace(family); }

    void then(int templateId, Script script) { scripts_[templateId].push_back(std::move(script)); }

    int run(Script mainWindow) {
        then(res::kMainDialog, std::move(mainWindow));
        FirstCopy lock;
        ts::app::Startup startup;
        startup.store = std::make_unique<ts::FileStore>(path_.toStdU16String());
        return ts::app::runApplication(windows_, lock, std::move(startup));
    }

    // The settings file as the next start would read it.
    std::unique_ptr<ts::Party> stored() const {
        auto party = ts::Party::create(u"FIRST");
        ts::loadFromPath(path_.toStdU16String(), *party);
        return party;
    }

    void store(std::int32_t total, std::int32_t unit,
               std::vector<std::tuple<std::u16string, int, int, int>> groups) {
        ts::Party party(u"FIRST");
        party.total = total;
        party.unit = unit;
        for (auto& [name, people, ratio, advance] : groups) {
            auto g = ts::Group::create(name);
            g->people = people;
            g->ratio = ratio;
            g->advance = advance;
            party.addGroup(std::move(g));
        }
        QVERIFY(ts::saveToPath(path_.toStdU16String(), party));
    }

    bool fileExists() const { return std::filesystem::exists(path_.toStdString()); }

    // The whole evening as the next start would read it.
    ts::Evening storedEvening() const {
        ts::Evening evening = ts::Evening::create();
        ts::loadFromPath(path_.toStdU16String(), evening);
        return evening;
    }

    // The next context menus pick the entry with this text; the texts of
    // every menu shown are kept.
    void pickFromMenus(const QString& text) {
        windows_.setMenuResponder([this, text](QMenu& menu) -> QAction* {
            QStringList texts;
            QAction* picked = nullptr;
            for (QAction* action : menu.actions()) {
                texts << action->text();
                if (action->text() == text) {
                    picked = action;
                }
            }
            menus.push_back(texts);
            return picked;
        });
    }
    std::vector<QStringList> menus;

    std::vector<Box> boxes;
    std::deque<MessageAnswer> answers;

private:
    QString path_;
    ts::platform::QtWindowSystem windows_;
    std::map<int, std::deque<Script>> scripts_;
};

const QString kEven = QStringLiteral("0円\u3000\u3000");

// A right click on the list's first row: its menu.
void openListMenu(QDialog* w) {
    QWidget* viewport = list(w)->viewport();
    const QPoint at = list(w)->topLevelItemCount() > 0
                          ? list(w)->visualItemRect(list(w)->topLevelItem(0)).center()
                          : viewport->rect().center();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &rightClick);
}

// Every shown control lies inside its window, none covers another (a
// frame aside) and every text fits its control.
void checkLaidOut(QDialog* d) {
    const QRect client(QPoint(0, 0), d->size());
    QList<QWidget*> shown;
    for (QWidget* c : d->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!c->isWindow() && c->isVisible()) {
            shown << c;
            QVERIFY2(client.contains(c->geometry()), qPrintable(c->objectName()));
        }
    }
    for (QWidget* a : shown) {
        for (QWidget* b : shown) {
            if (a < b && !qobject_cast<QGroupBox*>(a) && !qobject_cast<QGroupBox*>(b) &&
                !a->objectName().isEmpty() && !b->objectName().isEmpty()) {
                QVERIFY2(
                    !a->geometry().intersects(b->geometry()),
                    qPrintable(a->objectName() + QStringLiteral(" covers ") + b->objectName()));
            }
        }
        const QFontMetrics metrics(a->font());
        if (auto* button = qobject_cast<QPushButton*>(a)) {
            QVERIFY2(metrics.horizontalAdvance(button->text()) <= button->width(),
                     qPrintable(button->text()));
        }
        if (auto* label = qobject_cast<QLabel*>(a); label != nullptr && label->pixmap().isNull()) {
            for (const QString& line : label->text().split(QLatin1Char('\n'))) {
                QVERIFY2(metrics.horizontalAdvance(line) <= label->width() + 1, qPrintable(line));
            }
        }
    }
}

}  // namespace

class GuiTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
    }
    void cleanup() { folder_.reset(); }

    void mainWindowShowsTemplate101() {
        Program program(folder_->path());
        program.run([](QDialog* w) {
            QCOMPARE(w->windowTitle(), QStringLiteral("TALLY-SHARE"));
            const struct {
                int id;
                const char16_t* text;
            } buttons[] = {{1015, u"追加"},     {1016, u"変更"},    {1020, u"クリア"},
                           {1018, u"削除"},     {1017, u"入力"},    {1021, u"簡易表示"},
                           {1014, u"通常計算"}, {1022, u"区切計算"}};
            for (const auto& b : buttons) {
                auto* button = control<QPushButton>(w, b.id);
                QVERIFY(button != nullptr);
                QCOMPARE(button->text(), QString::fromUtf16(b.text));
            }
            QCOMPARE(textOf(w, id::main::kPeopleLabel), QStringLiteral("総人数"));
            QCOMPARE(textOf(w, id::main::kRemainderLabel), QStringLiteral("余り"));
            QVERIFY(control<QLabel>(w, id::main::kAboutIcon) != nullptr);
            QVERIFY(list(w) != nullptr);
            QCOMPARE(list(w)->headerItem()->text(0), QStringLiteral("ｸﾞﾙｰﾌﾟ名"));
            QTest::keyClick(w, Qt::Key_Escape);
        });
    }

    void firstStartShowsAnEmptyPartyAndSavesOnClose() {
        Program program(folder_->path());
        QVERIFY(!program.fileExists());
        const int result = program.run([](QDialog* w) {
            QCOMPARE(list(w)->topLevelItemCount(), 0);
            QCOMPARE(list(w)->columnCount(), 6);
            QCOMPARE(totals(w), (QStringList{"0人", "0円", "100円", "0円"}));
            w->close();  // the close box
        });
        QCOMPARE(result, 1);
        QVERIFY(program.fileExists());
        QCOMPARE(program.stored()->unit, 100);
    }

    void storedGroupsStartUncalculatedAndBothButtonsCalculate() {
        Program program(folder_->path());
        program.store(10000, 100, {{u"A", 2, 100, 0}, {u"B", 1, 100, 10000}});
        program.run([](QDialog* w) {
            QCOMPARE(column(w, 0), (QStringList{"A", "B"}));
            QCOMPARE(column(w, 4), (QStringList{"0円", "0円"}));
            QCOMPARE(column(w, 5), (QStringList{kEven, kEven}));
            QCOMPARE(selectedRow(w), 0);
            QCOMPARE(totals(w), (QStringList{"3人", "10000円", "100円", "0円"}));

            click(w, id::main::kCalculateRounded);
            QCOMPARE(column(w, 4), (QStringList{"3400円", "3400円"}));
            QCOMPARE(column(w, 5), (QStringList{"3400円払う", "6600円返金"}));
            QCOMPARE(textOf(w, id::main::kRemainderText), QStringLiteral("200円"));

            click(w, id::main::kCalculatePlain);
            QCOMPARE(column(w, 5), (QStringList{"3334円払う", "6666円返金"}));
            QCOMPARE(textOf(w, id::main::kRemainderText), QStringLiteral("2円"));
            QCOMPARE(selectedRow(w), 0);
            QTest::keyClick(w, Qt::Key_Escape);
        });
    }

    void deleteAsksAndMovesTheSelectionToTheFollowingRow() {
        Program program(folder_->path());
        program.store(0, 100, {{u"A", 1, 100, 0}, {u"B", 1, 100, 0}, {u"C", 1, 100, 0}});
        program.run([&program](QDialog* w) {
            selectRow(w, 1);
            program.answers = {MessageAnswer::Cancel};
            click(w, id::main::kDelete);
            QCOMPARE(column(w, 0), (QStringList{"A", "B", "C"}));
            QCOMPARE(program.boxes.back().text, QStringLiteral("このグループを削除しますか？"));
            QCOMPARE(program.boxes.back().caption, QStringLiteral("削除"));

            click(w, id::main::kDelete);  // answered OK
            QCOMPARE(column(w, 0), (QStringList{"A", "C"}));
            QCOMPARE(selectedRow(w), 1);

            click(w, id::main::kDelete);  // the last row
            QCOMPARE(column(w, 0), (QStringList{"A"}));
            QCOMPARE(selectedRow(w), -1);
            QTest::keyClick(w, Qt::Key_Escape);
        });
        QCOMPARE(program.stored()->groupCount(), 1);
    }

    void withoutSelectionChangeAndDeleteDoNothing() {
        Program program(folder_->path());
        program.store(0, 100, {{u"A", 1, 100, 0}});
        program.run([&program](QDialog* w) {
            list(w)->clearSelection();
            click(w, id::main::kChange);  // no dialog may open: none is scripted
            click(w, id::main::kDelete);
            QVERIFY(program.boxes.empty());
            QCOMPARE(column(w, 0), (QStringList{"A"}));
            QTest::keyClick(w, Qt::Key_Escape);
        });
    }

    void clearViewToggleAndAbout() {
        Program program(folder_->path());
        program.store(5000, 10, {{u"A", 3, 50, 1000}});
        program.run([&program](QDialog* w) {
            click(w, id::main::kViewToggle);
            QCOMPARE(textOf(w, id::main::kViewToggle), QStringLiteral("詳細表示"));
            QCOMPARE(row(w, 0), (QStringList{"A", "3人", "0円", kEven}));
            click(w, id::main::kViewToggle);
            QCOMPARE(textOf(w, id::main::kViewToggle), QStringLiteral("簡易表示"));
            QCOMPARE(row(w, 0), (QStringList{"A", "3人", "50%", "1000円", "0円", kEven}));

            click(w, id::main::kAboutIcon);
            QCOMPARE(program.boxes.size(), std::size_t{1});
            QCOMPARE(program.boxes[0].caption, QStringLiteral("Information"));
            QVERIFY(program.boxes[0].text.startsWith(QStringLiteral("TALLY-SHARE Version1.00\n")));
            QVERIFY(program.boxes[0].style.icon == ts::platform::MessageIcon::Information);
            // F1 anywhere in the window, the icon being no tab stop.
            QTest::keyClick(list(w), Qt::Key_F1);
            QCOMPARE(program.boxes.size(), std::size_t{2});
            QCOMPARE(program.boxes[1].text, program.boxes[0].text);
            program.boxes.pop_back();

            program.answers = {MessageAnswer::Ok};
            click(w, id::main::kClear);
            QCOMPARE(program.boxes.back().text, QStringLiteral("全グループをクリアしますか？"));
            QCOMPARE(list(w)->topLevelItemCount(), 0);
            QCOMPARE(totals(w), (QStringList{"0人", "5000円", "10円", "0円"}));
            QTest::keyClick(w, Qt::Key_Escape);
        });
    }

    void everyControlFitsItsWindowInAnyFont_data() {
        QTest::addColumn<QString>("face");
        QTest::newRow("Japanese Gothic") << QStringLiteral("IPAGothic");
        // Wider and taller than the Gothic face: a desktop without it.
        QTest::newRow("Latin fallback") << QStringLiteral("DejaVu Sans");
    }

    void everyControlFitsItsWindowInAnyFont() {
        QFETCH(QString, face);
        const auto checkFits = [face](QDialog* d) {
            QCOMPARE(QFontInfo(d->font()).family(), face);
            const QRect client(QPoint(0, 0), d->size());
            int controls = 0;
            for (QWidget* c : d->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (c->isWindow()) {
                    continue;
                }
                ++controls;
                QVERIFY2(client.contains(c->geometry()),
                         qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 in %6x%7")
                                        .arg(c->objectName())
                                        .arg(c->x())
                                        .arg(c->y())
                                        .arg(c->width())
                                        .arg(c->height())
                                        .arg(d->width())
                                        .arg(d->height())));
            }
            QVERIFY(controls >= 9);
            QVERIFY(
                QGuiApplication::primaryScreen()->availableGeometry().contains(d->frameGeometry()));
        };
        Program program(folder_->path());
        program.useFace(face);
        program.then(res::kGroupDialog, [&](QDialog* d) {
            checkFits(d);
            click(d, id::kCancel);
        });
        program.then(res::kTotalDialog, [&](QDialog* d) {
            checkFits(d);
            click(d, id::kCancel);
        });
        program.run([&](QDialog* w) {
            checkFits(w);
            click(w, id::main::kAdd);
            click(w, id::main::kInput);
            QTest::keyClick(w, Qt::Key_Escape);
        });
    }

    void groupAndTotalDialogsShowTheirTemplates() {
        Program program(folder_->path());
        program.then(res::kGroupDialog, [](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("グループの設定"));
            QCOMPARE(textOf(d, id::group::kNameField), QStringLiteral("新規"));
            QCOMPARE(textOf(d, id::group::kPeopleField), QStringLiteral("1"));
            QCOMPARE(textOf(d, id::group::kRatioField), QStringLiteral("100"));
            QCOMPARE(textOf(d, id::group::kAdvanceField), QStringLiteral("0"));
            QCOMPARE(textOf(d, id::group::kAddendField), QString());
            QCOMPARE(textOf(d, id::kOk), QStringLiteral("OK"));
            QCOMPARE(textOf(d, id::kCancel), QStringLiteral("CANCEL"));
            QCOMPARE(textOf(d, id::group::kAddAddend), QStringLiteral("+"));
            QVERIFY(control(d, id::group::kPeopleArrows) != nullptr);
            QVERIFY(control(d, id::group::kRatioArrows) != nullptr);
            click(d, id::kCancel);
        });
        program.then(res::kTotalDialog, [](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("情報"));
            QCOMPARE(textOf(d, id::total::kTotalField), QStringLiteral("0"));
            auto* combo = control<QComboBox>(d, id::total::kUnitCombo);
            QCOMPARE(combo->currentText(), QStringLiteral("100"));
            QCOMPARE(combo->currentIndex(), -1);
            QCOMPARE(combo->count(), 5);
            QCOMPARE(combo->itemText(4), QStringLiteral("10000"));
            QCOMPARE(textOf(d, id::total::kTakeAdvances), QStringLiteral("総負担額を入れる"));
            click(d, id::kCancel);
        });
        program.run([](QDialog* w) {
            click(w, id::main::kAdd);
            click(w, id::main::kInput);
            QCOMPARE(list(w)->topLevelItemCount(), 0);  // both cancelled
            QTest::keyClick(w, Qt::Key_Escape);
        });
    }

    void addWithOkAppendsANewGroup() {
        Program program(folder_->path());
        program.store(10000, 100, {{u"A", 2, 100, 0}});
        program.then(res::kGroupDialog, [](QDialog* d) { click(d, id::kOk); });
        program.run([](QDialog* w) {
            click(w, id::main::kAdd);
            QCOMPARE(list(w)->topLevelItemCount(), 2);
            QCOMPARE(row(w, 1), (QStringList{"新規", "1人", "100%", "0円", "0円", kEven}));
            QCOMPARE(row(w, 0)[4], QStringLiteral("0円"));  // nothing calculated yet
            QCOMPARE(textOf(w, id::main::kPeopleText), QStringLiteral("3人"));
            QTest::keyClick(w, Qt::Key_Escape);
        });
    }

    void changeKeepsThePlaceAndRecalculates() {
        Program program(folder_->path());
        program.store(9000, 100, {{u"A", 1, 100, 0}, {u"B", 2, 100, 0}, {u"C", 1, 100, 0}});
        program.then(res::kGroupDialog, [](QDialog* d) {
            QCOMPARE(textOf(d, id::group::kNameField), QStringLiteral("B"));
            typeInto(d, id::group::kRatioField, QStringLiteral("50"));
            typeInto(d, id::group::kAdvanceField, QStringLiteral("1000"));
            click(d, id::kOk);
        });
        program.run([](QDialog* w) {
            click(w, id::main::kCalculatePlain);
            selectRow(w, 1);
            click(w, id::main::kChange);
            QCOMPARE(row(w, 1), (QStringList{"B", "2人", "50%", "1000円", "1500円", "500円払う"}));
            QCOMPARE(selectedRow(w), 1);
            QTest::keyClick(w, Qt::Key_Escape);
        });
    }

    void totalFromTheAdvancesAndAUnitFromTheList() {
        Program program(folder_->path());
        program.store(0, 100, {{u"A", 2, 100, 3000}, {u"B", 1, 100, 10000}});
        program.then(res::kTotalDialog, [](QDialog* d) {
            click(d, id::total::kTakeAdvances);
            QCOMPARE(textOf(d, id::total::kTotalField), QStringLiteral("16000"));
            auto* combo = control<QComboBox>(d, id::total::kUnitCombo);
            combo->setCurrentIndex(3);  // picked from the list
            QCOMPARE(combo->currentText(), QStringLiteral("1000"));
            click(d, id::kOk);
        });
        program.run([](QDialog* w) {
            click(w, id::main::kInput);
            QCOMPARE(totals(w), (QStringList{"3人", "16000円", "1000円", "0円"}));
            QTest::keyClick(w, Qt::Key_Escape);
        });
        QCOMPARE(program.stored()->total, 16000);
        QCOMPARE(program.stored()->unit, 1000);
    }

    // 追加, type a group, OK; 入力, type the total, choose the unit, OK;
    // 区切計算; change a group and see the new figures at once; copy the
    // table from the list's menu; close; the next start finds the groups.
    void roadOfATypicalUse() {
        Program program(folder_->path());
        program.then(res::kGroupDialog, [&program](QDialog* d) {
            typeInto(d, id::group::kNameField, QStringLiteral("幹事"));
            typeInto(d, id::group::kPeopleField, QStringLiteral("5"));
            typeInto(d, id::group::kPeopleField, QString());  // emptied by mistake
            click(d, id::kOk);
            QCOMPARE(program.boxes.back().text,
                     QStringLiteral("このグループの人数を入力してください"));
            QCOMPARE(program.boxes.back().caption, QStringLiteral("エラー"));
            QVERIFY(d->isVisible());
            typeInto(d, id::group::kPeopleField, QStringLiteral("４"));  // full-width, from an IME
            click(d, id::kOk);
        });
        program.then(res::kGroupDialog, [](QDialog* d) {
            typeInto(d, id::group::kNameField, QStringLiteral("立替"));
            typeInto(d, id::group::kAddendField, QStringLiteral("12500"));
            click(d, id::group::kAddAddend);
            click(d, id::group::kAddAddend);
            QCOMPARE(textOf(d, id::group::kAdvanceField), QStringLiteral("25000"));
            QTest::mouseClick(control(d, id::group::kPeopleArrows)->findChild<QToolButton*>("up"),
                              Qt::LeftButton);
            QCOMPARE(textOf(d, id::group::kPeopleField), QStringLiteral("2"));
            click(d, id::kOk);
        });
        program.then(res::kTotalDialog, [](QDialog* d) {
            typeInto(d, id::total::kTotalField, QStringLiteral("25000"));
            auto* combo = control<QComboBox>(d, id::total::kUnitCombo);
            combo->setFocus();
            combo->lineEdit()->selectAll();
            typeText(combo->lineEdit(), QStringLiteral("1000"));
            click(d, id::kOk);
        });
        program.then(res::kGroupDialog, [](QDialog* d) {
            typeInto(d, id::group::kPeopleField, QStringLiteral("9"));
            click(d, id::kOk);
        });
        program.pickFromMenus(QStringLiteral("コピー"));
        const int result = program.run([&program](QDialog* w) {
            click(w, id::main::kAdd);
            click(w, id::main::kAdd);
            click(w, id::main::kInput);
            click(w, id::main::kCalculateRounded);
            QCOMPARE(row(w, 0),
                     (QStringList{"幹事", "4人", "100%", "0円", "5000円", "5000円払う"}));
            QCOMPARE(row(w, 1),
                     (QStringList{"立替", "2人", "100%", "25000円", "5000円", "20000円返金"}));
            QCOMPARE(totals(w), (QStringList{"6人", "25000円", "1000円", "5000円"}));

            selectRow(w, 0);
            click(w, id::main::kChange);
            QCOMPARE(row(w, 0),
                     (QStringList{"幹事", "9人", "100%", "0円", "3000円", "3000円払う"}));
            QCOMPARE(row(w, 1),
                     (QStringList{"立替", "2人", "100%", "25000円", "3000円", "22000円返金"}));
            QCOMPARE(totals(w), (QStringList{"11人", "25000円", "1000円", "8000円"}));

            // A right click on the list, and コピー from its menu.
            QGuiApplication::clipboard()->clear();
            QWidget* viewport = list(w)->viewport();
            const QPoint at = list(w)->visualItemRect(list(w)->topLevelItem(1)).center();
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
            QApplication::sendEvent(viewport, &rightClick);
            QCOMPARE(program.menus.size(), std::size_t{1});
            QCOMPARE(program.menus[0], (QStringList{"コピー", "CSVで保存…", "送る文面をコピー",
                                                    "次の会を追加", "会の名前を変更", "精算"}));
            const QString table = QStringLiteral(
                "ｸﾞﾙｰﾌﾟ名\t人数\t割合\t負担額\t支払額\t差引額\n"
                "幹事\t9人\t100%\t0円\t3000円\t3000円払う\n"
                "立替\t2人\t100%\t25000円\t3000円\t22000円返金\n"
                "\n"
                "総人数\t11人\n総額\t25000円\n区切額\t1000円\n余り\t8000円\n");
            QCOMPARE(QGuiApplication::clipboard()->text(), table);

            // Ctrl+C on the list copies the same.
            QGuiApplication::clipboard()->clear();
            QTest::keyClick(list(w), Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QGuiApplication::clipboard()->text(), table);
            w->close();
        });
        QCOMPARE(result, 1);

        const auto party = program.stored();
        QCOMPARE(party->total, 25000);
        QCOMPARE(party->unit, 1000);
        QCOMPARE(party->groupCount(), 2);
        QCOMPARE(QString::fromStdU16String(party->groupAt(0)->name()), QStringLiteral("幹事"));
        QCOMPARE(party->groupAt(0)->people, 9);
        QCOMPARE(QString::fromStdU16String(party->groupAt(1)->name()), QStringLiteral("立替"));
        QCOMPARE(party->groupAt(1)->people, 2);
        QCOMPARE(party->groupAt(1)->advance, 25000);
        QCOMPARE(party->groupAt(1)->share, 0);  // results are never stored
    }

    // 次の会を追加 from the list's menu copies the groups into a new round
    // and shows it; the selector 会 appears beside the buttons and switches
    // the list and the totals line back to the first round.
    void aSecondRoundAndTheSelector() {
        Program program(folder_->path());
        program.store(10000, 1000, {{u"A", 2, 100, 0}, {u"B", 1, 100, 10000}});
        program.pickFromMenus(QStringLiteral("次の会を追加"));
        program.run([&program](QDialog* w) {
            auto* rounds = control<QComboBox>(w, id::main::kRoundCombo);
            QVERIFY(!rounds->isVisible());
            click(w, id::main::kCalculateRounded);
            openListMenu(w);
            QVERIFY(rounds->isVisible());
            QVERIFY(!rounds->isEditable());
            QCOMPARE(rounds->accessibleName(), QStringLiteral("会"));
            QCOMPARE(rounds->count(), 2);
            QCOMPARE(rounds->currentText(), QStringLiteral("二次会"));
            QCOMPARE(column(w, 0), (QStringList{"A", "B"}));
            QCOMPARE(column(w, 5), (QStringList{kEven, kEven}));
            QCOMPARE(totals(w), (QStringList{"3人", "0円", "1000円", "0円"}));
            checkLaidOut(w);

            rounds->setFocus();
            QTest::keyClick(rounds, Qt::Key_Up);  // to 一次会
            QCOMPARE(rounds->currentText(), QStringLiteral("一次会"));
            QCOMPARE(column(w, 5), (QStringList{"4000円払う", "6000円返金"}));
            QCOMPARE(totals(w), (QStringList{"3人", "10000円", "1000円", "2000円"}));
            w->close();
        });
        const ts::Evening stored = program.storedEvening();
        QCOMPARE(stored.roundCount(), 2);
        QCOMPARE(stored.currentIndex(), 0);
    }

    // 精算 over two calculated rounds: the plan, and 済 on the selected class.
    void theSettlementWithAMark() {
        Program program(folder_->path());
        ts::Evening evening = ts::Evening::create();
        for (int r = 0; r < 2; ++r) {
            if (r > 0) {
                evening.addRound();
            } else {
                auto group = ts::Group::create(u"社員");
                group->people = 3;
                evening.party().addGroup(std::move(group));
            }
            evening.party().total = 3000 * (2 - r);
            evening.current().calculation = ts::Calculation::Plain;
        }
        evening.party().groupAt(0)->people = 2;
        QVERIFY(ts::saveToPath((folder_->path() + QStringLiteral("/ts.cfg")).toStdU16String(),
                               evening));
        program.then(res::kSettlementDialog, [&program](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("精算"));
            checkLaidOut(d);
            QVERIFY(
                QGuiApplication::primaryScreen()->availableGeometry().contains(d->frameGeometry()));
            auto* plan = control<QTreeWidget>(d, id::settle::kPlanList);
            QCOMPARE(plan->topLevelItemCount(), 2);
            QCOMPARE(plan->topLevelItem(0)->text(0), QStringLiteral("社員 2人（一次会・二次会）"));
            QCOMPARE(plan->topLevelItem(0)->text(1), QStringLiteral("3500円払う"));
            QCOMPARE(plan->topLevelItem(1)->text(1), QStringLiteral("2000円払う"));
            click(d, id::settle::kMarkPaid);  // the first row is selected
            QCOMPARE(plan->topLevelItem(0)->text(2), QStringLiteral("1/2人"));
            QCOMPARE(textOf(d, id::settle::kOutstandingText),
                     QStringLiteral("集金残り 5500円　返金残り 0円"));
            QVERIFY(program.boxes.empty());
            QTest::keyClick(d, Qt::Key_Escape);
        });
        program.pickFromMenus(QStringLiteral("精算"));
        program.run([](QDialog* w) {
            openListMenu(w);
            w->close();
        });
        QCOMPARE(program.storedEvening().marks.size(), std::size_t{1});
    }

private:
    std::unique_ptr<QTemporaryDir> folder_;
};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    GuiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "gui_test.moc"
