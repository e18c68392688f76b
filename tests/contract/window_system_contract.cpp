// The contract of platform/window_system.h, run against every driver that
// instantiates WindowSystemContract.
#include "tests/contract/window_system_contract.h"

#include <algorithm>
#include <string>
#include <vector>

#include "resources/dialog_template.h"
#include "resources/ids.h"

namespace ts::test {
namespace {

using platform::Dialog;
using platform::Message;
using Kind = Message::Kind;
using Rows = std::vector<std::vector<std::u16string>>;
using Texts = std::vector<std::u16string>;

// A procedure that notes what it hears and lets `react` act on it.
platform::DialogProc noting(std::vector<Message>& heard,
                            std::function<void(Dialog&, const Message&)> react = {}) {
    return [&heard, react](Dialog& dialog, const Message& message) {
        heard.push_back(message);
        if (react) {
            react(dialog, message);
        }
    };
}

platform::DialogProc silent() {
    return [](Dialog&, const Message&) {};
}

TEST_P(WindowSystemContract, ItemTextsAreCutAndUnknownIdsEmpty) {
    driver->run(res::kGroupDialog, silent(), [&](Dialog& dialog) {
        const std::u16string longName(300, u'名');
        dialog.setItemText(id::group::kNameField, longName);
        EXPECT_EQ(driver->shownText(dialog, id::group::kNameField), longName);
        EXPECT_EQ(dialog.itemText(id::group::kNameField), longName.substr(0, 255));
        dialog.setItemText(id::group::kNameField, u"");
        EXPECT_EQ(dialog.itemText(id::group::kNameField), u"");
        EXPECT_EQ(dialog.itemText(4242), u"");
        dialog.setItemText(4242, u"ignored");  // no such control: nothing happens
        dialog.setItemText(id::kOk, u"了解");
        EXPECT_EQ(driver->shownText(dialog, id::kOk), u"了解");
        EXPECT_EQ(dialog.itemText(id::kOk), u"了解");
        dialog.endDialog(1);
    });
}

// Each call reaches only the kind of control it is meant for.
TEST_P(WindowSystemContract, CallsReachOnlyTheirKindOfControl) {
    driver->run(res::kGroupDialog, silent(), [&](Dialog& dialog) {
        const int name = id::group::kNameField;
        const int arrows = id::group::kPeopleArrows;
        dialog.setItemText(arrows, u"12");
        EXPECT_EQ(dialog.itemText(arrows), u"");
        EXPECT_EQ(dialog.upDownPosition(arrows), 0);
        dialog.setUpDownPosition(name, 5);
        EXPECT_EQ(dialog.upDownPosition(name), 0);
        EXPECT_EQ(dialog.listView(name), nullptr);
        dialog.insertComboEntry(name, 0, u"x");
        dialog.limitText(id::kOk, 1);
        dialog.setItemText(name, u"abc");
        dialog.setItemText(id::kOk, u"OK!");
        EXPECT_EQ(dialog.itemText(name), u"abc");
        EXPECT_EQ(dialog.itemText(id::kOk), u"OK!");
        dialog.endDialog(1);
    });
    driver->run(res::kMainDialog, silent(), [&](Dialog& dialog) {
        EXPECT_NE(dialog.listView(id::main::kGroupList), nullptr);
        EXPECT_EQ(dialog.itemText(id::main::kGroupList), u"");
        EXPECT_EQ(dialog.listView(id::main::kAdd), nullptr);
        EXPECT_EQ(dialog.popupMenu(4242, {}), 0);
        dialog.endDialog(1);
    });
}

// A limit counts UTF-16 units but never leaves half a character, whether it
// cuts what the field holds or what the user pastes.
TEST_P(WindowSystemContract, TextLimitKeepsWholeCharacters) {
    driver->run(res::kGroupDialog, silent(), [&](Dialog& dialog) {
        const int name = id::group::kNameField;
        dialog.setItemText(name, u"abcd\U0001F600");
        dialog.limitText(name, 5);
        EXPECT_EQ(driver->shownText(dialog, name), u"abcd");
        driver->pasteInto(dialog, name, u"abcd\U0001F600x");  // cut inside the pair
        EXPECT_EQ(driver->shownText(dialog, name), u"abcd");
        driver->pasteInto(dialog, name, u"ab\U0001F600x");
        EXPECT_EQ(driver->shownText(dialog, name), u"ab\U0001F600x");
        dialog.endDialog(1);
    });
}

TEST_P(WindowSystemContract, UpDownArrowsStepAndScroll) {
    const int people = id::group::kPeopleArrows;
    std::vector<Message> heard;
    std::vector<int> seen;
    driver->run(res::kGroupDialog,
                noting(heard,
                       [&](Dialog& dialog, const Message& m) {
                           if (m.kind == Kind::InitDialog) {
                               seen.push_back(dialog.upDownPosition(people));  // starts at 0
                               dialog.setUpDownPosition(people, 10);
                           } else if (m.kind == Kind::VScroll) {
                               seen.push_back(dialog.upDownPosition(m.id));
                           }
                       }),
                [&](Dialog& dialog) {
                    driver->pressUpArrow(dialog, people);    // lowers
                    driver->pressDownArrow(dialog, people);  // raises
                    driver->pressDownArrow(dialog, people);
                    // Positions are 16-bit values, and stay so at the ends.
                    dialog.setUpDownPosition(people, 40000);
                    EXPECT_EQ(dialog.upDownPosition(people), 32767);
                    driver->pressDownArrow(dialog, people);
                    dialog.setUpDownPosition(people, -40000);
                    EXPECT_EQ(dialog.upDownPosition(people), -32768);
                    dialog.endDialog(1);
                });
    EXPECT_EQ(seen, (std::vector<int>{0, 9, 10, 11, 32767}));
}

TEST_P(WindowSystemContract, ComboEntriesOfferChoicesAndLeaveTheField) {
    const int unit = id::total::kUnitCombo;
    driver->run(
        res::kTotalDialog,
        [&](Dialog& dialog, const Message& m) {
            if (m.kind == Kind::InitDialog) {
                dialog.setItemText(unit, u"100");
                dialog.insertComboEntry(unit, 0, u"10");
                dialog.insertComboEntry(unit, 0, u"1");      // before the first
                dialog.insertComboEntry(unit, 99, u"1000");  // past the end: appended
                dialog.insertComboEntry(unit, -1, u"10000");
                dialog.insertComboEntry(unit, 2, u"100");
            }
        },
        [&](Dialog& dialog) {
            EXPECT_EQ(driver->choices(dialog, unit),
                      (Texts{u"1", u"10", u"100", u"1000", u"10000"}));
            EXPECT_EQ(dialog.itemText(unit), u"100");
            dialog.setItemText(unit, u"250");
            EXPECT_EQ(dialog.itemText(unit), u"250");
            EXPECT_EQ(driver->choices(dialog, unit).size(), 5u);
            EXPECT_EQ(dialog.comboSelection(unit), -1);  // a field, not a list to choose from
            dialog.clearComboEntries(unit);
            EXPECT_EQ(driver->choices(dialog, unit), Texts{});
            EXPECT_EQ(dialog.itemText(unit), u"250");
            dialog.endDialog(1);
        });
}

// A list to choose from: the program fills it and says which entry it
// shows without a command; the user's choice of another entry is one.
TEST_P(WindowSystemContract, AListToChooseFromReportsTheUsersChoiceOnly) {
    const int rounds = id::main::kRoundCombo;
    std::vector<Message> heard;
    std::vector<int> chosen;
    driver->run(
        res::kMainDialog,
        noting(heard,
               [&](Dialog& dialog, const Message& m) {
                   if (m.kind == Kind::InitDialog) {
                       dialog.insertComboEntry(rounds, 0, u"二次会");
                       dialog.insertComboEntry(rounds, 0, u"一次会");
                       EXPECT_EQ(dialog.comboSelection(rounds), -1);  // none until selected
                       dialog.selectComboEntry(rounds, 1);
                       dialog.insertComboEntry(rounds, 0, u"前夜祭");  // the entry shown stays
                   } else if (m.kind == Kind::Command && m.id == rounds) {
                       chosen.push_back(dialog.comboSelection(rounds));
                   }
               }),
        [&](Dialog& dialog) {
            EXPECT_EQ(driver->choices(dialog, rounds), (Texts{u"前夜祭", u"一次会", u"二次会"}));
            EXPECT_EQ(dialog.comboSelection(rounds), 2);
            EXPECT_EQ(dialog.itemText(rounds), u"二次会");
            dialog.setItemText(rounds, u"三次会");  // its text is its entry's
            EXPECT_EQ(dialog.itemText(rounds), u"二次会");
            driver->choose(dialog, rounds, 1);
            EXPECT_EQ(dialog.itemText(rounds), u"一次会");
            dialog.selectComboEntry(rounds, 5);  // no such entry: none shown
            EXPECT_EQ(dialog.comboSelection(rounds), -1);
            EXPECT_EQ(dialog.itemText(rounds), u"");
            dialog.selectComboEntry(rounds, 0);
            dialog.clearComboEntries(rounds);
            EXPECT_EQ(driver->choices(dialog, rounds), Texts{});
            EXPECT_EQ(dialog.comboSelection(rounds), -1);
            EXPECT_EQ(dialog.comboSelection(id::main::kAdd), -1);  // no list at all
            dialog.endDialog(1);
        });
    EXPECT_EQ(chosen, std::vector<int>{1});
    EXPECT_EQ(std::count_if(heard.begin(), heard.end(),
                            [](const Message& m) { return m.kind == Kind::Command; }),
              1);
}

TEST_P(WindowSystemContract, ListViewColumnsAndCells) {
    driver->run(res::kMainDialog, silent(), [&](Dialog& dialog) {
        const int id = id::main::kGroupList;
        platform::ListView* list = dialog.listView(id);
        ASSERT_NE(list, nullptr);
        list->insertColumn(0, u"ｸﾞﾙｰﾌﾟ名", 70, "");
        list->insertColumn(5, u"支払額", 80, "");  // past the end: appended
        list->insertColumn(1, u"人数", 40, "");
        EXPECT_EQ(driver->columns(dialog, id), (Texts{u"ｸﾞﾙｰﾌﾟ名", u"人数", u"支払額"}));

        list->setCell(u"B", 0, 0, res::Tone::None);
        list->setCell(u"3人", 1, 0, res::Tone::None);
        list->setCell(u"3400円", 2, 0, res::Tone::None);
        list->setCell(u"A", 0, 0, res::Tone::None);   // inserted before B
        list->setCell(u"C", 0, 7, res::Tone::None);   // past the end: appended
        list->setCell(u"x", 3, 0, res::Tone::None);   // no such column
        list->setCell(u"x", 1, 9, res::Tone::None);   // no such row
        list->setCell(u"x", 0, -1, res::Tone::None);  // no such position
        EXPECT_EQ(driver->rows(dialog, id),
                  (Rows{{u"A", u"", u""}, {u"B", u"3人", u"3400円"}, {u"C", u"", u""}}));

        // A column inserted between others moves the cells after it.
        list->insertColumn(1, u"割合", 50, "");
        EXPECT_EQ(driver->rows(dialog, id)[1], (Texts{u"B", u"", u"3人", u"3400円"}));
        list->deleteColumns(1);
        EXPECT_EQ(driver->columns(dialog, id), (Texts{u"割合", u"人数", u"支払額"}));
        EXPECT_EQ(driver->rows(dialog, id)[1], (Texts{u"", u"3人", u"3400円"}));
        list->deleteColumns(6);  // more than there are
        EXPECT_EQ(driver->columns(dialog, id), Texts{});

        list->deleteRow(0);
        list->deleteRow(5);  // no such row
        EXPECT_EQ(driver->rows(dialog, id).size(), 2u);
        list->deleteAllRows();
        EXPECT_EQ(driver->rows(dialog, id), Rows{});
        dialog.endDialog(1);
    });
}

TEST_P(WindowSystemContract, ListViewSelection) {
    driver->run(res::kMainDialog, silent(), [&](Dialog& dialog) {
        platform::ListView* list = dialog.listView(id::main::kGroupList);
        ASSERT_NE(list, nullptr);
        list->insertColumn(0, u"name", 70, "");
        for (int r = 0; r < 4; ++r) {
            list->setCell(u"row", 0, r, res::Tone::None);
        }
        EXPECT_EQ(list->selectedRow(), -1);
        list->selectRow(2);
        EXPECT_EQ(list->selectedRow(), 2);
        for (int outOfRange : {4, -1, 100}) {
            list->selectRow(1);
            list->selectRow(outOfRange);
            EXPECT_EQ(list->selectedRow(), -1) << outOfRange;
        }
        // The selection stays with its row; a deleted row takes its own.
        list->selectRow(2);
        list->deleteRow(0);
        EXPECT_EQ(list->selectedRow(), 1);
        list->deleteRow(1);
        EXPECT_EQ(list->selectedRow(), -1);
        list->selectRow(0);
        list->deleteAllRows();
        EXPECT_EQ(list->selectedRow(), -1);
        dialog.endDialog(1);
    });
}

// The first endDialog sets the result; events already on their way are not
// delivered after it.
TEST_P(WindowSystemContract, NothingIsHeardAfterEndDialog) {
    std::vector<Message> heard;
    const int result = driver->run(res::kTotalDialog,
                                   noting(heard,
                                          [](Dialog& dialog, const Message& m) {
                                              if (m.kind == Kind::Command) {
                                                  dialog.endDialog(m.id);
                                                  dialog.endDialog(7);
                                              }
                                          }),
                                   [&](Dialog& dialog) {
                                       driver->click(dialog, id::kOk);
                                       driver->click(dialog, id::kCancel);
                                   });
    EXPECT_EQ(result, id::kOk);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].kind, Kind::InitDialog);
    EXPECT_EQ(heard[1].kind, Kind::Command);
    EXPECT_EQ(heard[1].id, id::kOk);
}

TEST_P(WindowSystemContract, EndDialogDuringInitNeverShows) {
    bool shown = false;
    const int result = driver->run(
        res::kMainDialog,
        [](Dialog& dialog, const Message& m) {
            if (m.kind == Kind::InitDialog) {
                dialog.endDialog(3);
            }
        },
        [&](Dialog&) { shown = true; });
    EXPECT_EQ(result, 3);
    EXPECT_FALSE(shown);
    EXPECT_EQ(driver->run(4242, silent(), [&](Dialog&) { shown = true; }), -1);
    EXPECT_FALSE(shown);
}

// Fields, arrows, the list and the icon are named after what they do; a
// value beside its label is spoken with its label; buttons and labels are
// named by their own text.
TEST_P(WindowSystemContract, ScreenReadersHearTheTemplatesNames) {
    const struct {
        int templateId;
        int id;
        std::u16string_view name;
    } rows[] = {
        {res::kMainDialog, id::main::kGroupList, u"グループ一覧"},
        {res::kMainDialog, id::main::kPeopleText, u"総人数 3人"},  // set below
        {res::kMainDialog, id::main::kTotalText, u"総額 DDD"},
        {res::kMainDialog, id::main::kAboutIcon, u"バージョン情報"},
        {res::kMainDialog, id::main::kAdd, u""},
        {res::kMainDialog, id::main::kPeopleLabel, u""},
        {res::kGroupDialog, id::group::kNameField, u"名称"},
        {res::kGroupDialog, id::group::kAddendField, u"加える額"},
        {res::kGroupDialog, id::group::kAddAddend, u"負担額に加える"},
        {res::kGroupDialog, id::group::kPeopleArrows, u"人数の増減"},
        {res::kGroupDialog, id::kOk, u""},
        {res::kTotalDialog, id::total::kUnitCombo, u"区切額"},
        {res::kMainDialog, id::main::kRoundCombo, u"会"},
    };
    for (int templateId : {res::kMainDialog, res::kGroupDialog, res::kTotalDialog}) {
        driver->run(templateId, silent(), [&](Dialog& dialog) {
            if (templateId == res::kMainDialog) {
                dialog.setItemText(id::main::kPeopleText, u"3人");
            }
            for (const auto& row : rows) {
                if (row.templateId == templateId) {
                    EXPECT_EQ(driver->spokenName(dialog, row.id), row.name) << row.id;
                }
            }
            dialog.endDialog(1);
        });
    }
}

}  // namespace
}  // namespace ts::test
