#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/rescue.h"
#include "model/party.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "resources/texts.h"
#include "storage/evening_file.h"
#include "storage/settings_file.h"
#include "storage/text.h"
#include "tests/storage/settings_fixture.h"
#include "tests/support/fake_window_system.h"
#include "ui/party_link.h"
#include "ui/result_export.h"

namespace ts::app {
namespace {

namespace fs = std::filesystem;
using platform::MessageAnswer;
using test::FakeDialog;
using test::FakeWindowSystem;

class FakeLock final : public platform::InstanceLock {
public:
    explicit FakeLock(bool first) : first_(first) {}
    bool acquire() override { return first_; }
    void activateRunningCopy() override { ++activations; }
    int activations = 0;

private:
    bool first_;
};

std::vector<std::u16string> column(const test::FakeListView& list, std::size_t index) {
    std::vector<std::u16string> out;
    for (const auto& row : list.rows) {
        out.push_back(index < row.size() ? row[index] : u"<missing>");
    }
    return out;
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("ts-main-window-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = fromUtf8((dir_ / "ts.cfg").string());
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Writes a settings file holding `groups` (name, people, ratio, advance).
    void storeParty(std::int32_t total, std::int32_t unit,
                    std::vector<std::tuple<std::u16string, int, int, int>> groups) {
        Party party(u"FIRST");
        party.total = total;
        party.unit = unit;
        for (auto& [name, people, ratio, advance] : groups) {
            auto g = Group::create(name);
            g->people = people;
            g->ratio = ratio;
            g->advance = advance;
            party.addGroup(std::move(g));
        }
        ASSERT_TRUE(saveToPath(path_, party));
    }

    std::unique_ptr<Party> loadStored() {
        auto party = Party::create(u"FIRST");
        loadFromPath(path_, *party);
        return party;
    }

    // Runs the program with `script` driving the main window.
    int run(FakeWindowSystem::Script script, bool first = true) {
        windows_.onNextRun(res::kMainDialog, std::move(script));
        FakeLock lock(first);
        const int result = runApplication(
            windows_, lock,
            {std::make_unique<FileStore>(path_), userFolder_, behaviour_, calculation_, site_});
        activations_ = lock.activations;
        return result;
    }

    fs::path dir_;
    std::u16string path_;
    std::u16string userFolder_;
    Behaviour behaviour_;
    Calculation calculation_ = Calculation::None;
    FakeWindowSystem windows_;
    platform::Site* site_ = nullptr;
    int activations_ = 0;
};

TEST_F(MainWindowTest, WindowIsSizedToTheScreen) {
    struct Row {
        int screenWidth, screenHeight, width, height;
    };
    for (const Row& r : {Row{240, 320, 240, 214}, Row{640, 480, 640, 214}, Row{800, 600, 640, 214},
                         Row{320, 266, 320, 240}, Row{320, 267, 320, 214}}) {
        windows_.screenWidth = r.screenWidth;
        windows_.screenHeight = r.screenHeight;
        FakeDialog::Placement placement;
        run([&](FakeDialog& w) {
            placement = w.placement;
            w.command(id::kCancel);
        });
        EXPECT_EQ(placement.x, 0);
        EXPECT_EQ(placement.y, 0);
        EXPECT_EQ(placement.width, r.width) << r.screenWidth << "x" << r.screenHeight;
        EXPECT_EQ(placement.height, r.height) << r.screenWidth << "x" << r.screenHeight;
    }
}

TEST_F(MainWindowTest, FirstStartShowsAnEmptyListAndDefaultTotals) {
    const int result = run([](FakeDialog& w) {
        EXPECT_TRUE(w.list.rows.empty());
        EXPECT_EQ(w.list.selected, -1);
        ASSERT_EQ(w.list.columns.size(), 6u);
        EXPECT_EQ(w.list.columns[0].title, u"ｸﾞﾙｰﾌﾟ名");
        EXPECT_EQ(w.items[id::main::kPeopleText], u"0人");
        EXPECT_EQ(w.items[id::main::kTotalText], u"0円");
        EXPECT_EQ(w.items[id::main::kUnitText], u"100円");
        EXPECT_EQ(w.items[id::main::kRemainderText], u"0円");
        EXPECT_EQ(w.items[id::main::kViewToggle], u"簡易表示");
        w.command(id::kOk);
        EXPECT_TRUE(w.ended());
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(fs::exists(dir_ / "ts.cfg"));  // written even though nothing changed
    EXPECT_EQ(loadStored()->unit, 100);
}

TEST_F(MainWindowTest, StoredGroupsComeBackUncalculatedWithTheFirstRowSelected) {
    storeParty(10000, 100, {{u"A", 2, 100, 0}, {u"B", 1, 100, 10000}});
    run([](FakeDialog& w) {
        EXPECT_EQ(column(w.list, 0), (std::vector<std::u16string>{u"A", u"B"}));
        EXPECT_EQ(column(w.list, 4), (std::vector<std::u16string>{u"0円", u"0円"}));
        EXPECT_EQ(column(w.list, 5), (std::vector<std::u16string>{u"0円　　", u"0円　　"}));
        EXPECT_EQ(w.list.selected, 0);
        EXPECT_EQ(w.items[id::main::kPeopleText], u"3人");
        EXPECT_EQ(w.items[id::main::kTotalText], u"10000円");
        w.command(id::kCancel);
    });
}

TEST_F(MainWindowTest, CalculationButtonsFillSharesBalancesAndRemainder) {
    storeParty(10000, 100, {{u"A", 2, 100, 0}, {u"B", 1, 100, 10000}});
    run([](FakeDialog& w) {
        w.command(id::main::kCalculateRounded);
        EXPECT_EQ(column(w.list, 4), (std::vector<std::u16string>{u"3400円", u"3400円"}));
        EXPECT_EQ(column(w.list, 5), (std::vector<std::u16string>{u"3400円払う", u"6600円返金"}));
        EXPECT_EQ(w.items[id::main::kRemainderText], u"200円");
        w.list.selectRow(1);
        w.command(id::main::kCalculatePlain);
        w.command(id::main::kCalculatePlain);  // twice gives the same
        EXPECT_EQ(column(w.list, 5), (std::vector<std::u16string>{u"3334円払う", u"6666円返金"}));
        EXPECT_EQ(w.items[id::main::kRemainderText], u"2円");
        EXPECT_EQ(w.list.selected, 1);  // the selection survives the refresh
        w.command(id::kCancel);
    });
}

TEST_F(MainWindowTest, TheListSaysWhatToDoFirstAndWhenItsFiguresAreNoResults) {
    storeParty(10000, 100, {{u"A", 2, 100, 0}, {u"B", 1, 100, 10000}});
    using res::Tone;
    const auto balanceTones = [](const test::FakeListView& list) {
        std::vector<Tone> out;
        for (const auto& row : list.tones) {
            out.push_back(row.at(5));
        }
        return out;
    };
    run([&](FakeDialog& w) {
        EXPECT_EQ(w.list.emptyText, u"「追加」でグループを加えます");
        EXPECT_EQ(balanceTones(w.list), (std::vector{Tone::NotCalculated, Tone::NotCalculated}));
        EXPECT_EQ(w.descriptions[id::main::kRemainderText], u"");
        w.command(id::main::kCalculateRounded);
        EXPECT_EQ(balanceTones(w.list), (std::vector{Tone::Pay, Tone::Refund}));
        EXPECT_EQ(w.list.columns[5].role, "balance");
        EXPECT_EQ(w.descriptions[id::main::kRemainderText], u"幹事の手元に残ります");
        // Without groups nothing is calculated: the zeros are no results.
        w.command(id::main::kClear);
        EXPECT_EQ(w.descriptions[id::main::kRemainderText], u"");
        w.command(id::kCancel);
    });
}

TEST_F(MainWindowTest, DeleteAsksAndKeepsTheFollowingRowSelected) {
    storeParty(0, 100, {{u"A", 1, 100, 0}, {u"B", 1, 100, 0}, {u"C", 1, 100, 0}});
    run([this](FakeDialog& w) {
        w.list.selectRow(1);
        windows_.answerNext(MessageAnswer::Cancel);
        w.command(id::main::kDelete);
        EXPECT_EQ(column(w.list, 0), (std::vector<std::u16string>{u"A", u"B", u"C"}));
        ASSERT_EQ(windows_.messageBoxes.size(), 1u);
        EXPECT_EQ(windows_.messageBoxes[0].text, text::kDeleteQuestion);
        EXPECT_EQ(windows_.messageBoxes[0].caption, text::kDeleteCaption);
        EXPECT_EQ(windows_.messageBoxes[0].style.buttons, platform::MessageButtons::OkCancel);

        windows_.answerNext(MessageAnswer::Ok);
        w.command(id::main::kDelete);
        EXPECT_EQ(column(w.list, 0), (std::vector<std::u16string>{u"A", u"C"}));
        EXPECT_EQ(w.list.selected, 1);

        windows_.answerNext(MessageAnswer::Ok);
        w.command(id::main::kDelete);  // the last row: nothing is left selected
        EXPECT_EQ(column(w.list, 0), (std::vector<std::u16string>{u"A"}));
        EXPECT_EQ(w.list.selected, -1);
        w.command(id::kCancel);
    });
    EXPECT_EQ(loadStored()->groupCount(), 1);
}

TEST_F(MainWindowTest, ChangeAndDeleteWithoutSelectionDoNothing) {
    storeParty(0, 100, {{u"A", 1, 100, 0}});
    run([this](FakeDialog& w) {
        w.list.selectRow(-1);
        const int refreshes = w.invalidations;
        w.command(id::main::kDelete);
        w.command(id::main::kChange);
        w.command(4242);  // an id no control bears
        EXPECT_EQ(w.invalidations, refreshes);
        EXPECT_TRUE(windows_.messageBoxes.empty());
        EXPECT_EQ(windows_.runs.size(), 1u);  // no dialog opened
        EXPECT_EQ(w.list.rows.size(), 1u);
        w.command(id::kCancel);
    });
}

TEST_F(MainWindowTest, ClearAsksAndKeepsTotalAndUnit) {
    storeParty(9000, 1000, {{u"A", 2, 100, 0}, {u"B", 1, 50, 0}});
    run([this](FakeDialog& w) {
        w.command(id::main::kCalculateRounded);
        const auto remainder = w.items[id::main::kRemainderText];
        windows_.answerNext(MessageAnswer::Cancel);
        w.command(id::main::kClear);
        EXPECT_EQ(w.list.rows.size(), 2u);
        EXPECT_EQ(w.items[id::main::kRemainderText], remainder);
        windows_.answerNext(MessageAnswer::Ok);
        w.command(id::main::kClear);
        EXPECT_EQ(windows_.messageBoxes.back().text, text::kClearQuestion);
        EXPECT_EQ(windows_.messageBoxes.back().caption, text::kClearCaption);
        EXPECT_TRUE(w.list.rows.empty());
        EXPECT_EQ(w.items[id::main::kPeopleText], u"0人");
        EXPECT_EQ(w.items[id::main::kTotalText], u"9000円");
        EXPECT_EQ(w.items[id::main::kUnitText], u"1000円");
        // The remainder of groups that are gone is not shown any more.
        EXPECT_EQ(w.items[id::main::kRemainderText], u"0円");
        w.command(id::kCancel);
    });
}

TEST_F(MainWindowTest, ViewButtonSwitchesColumnsAndBack) {
    storeParty(0, 100, {{u"A", 3, 50, 1000}});
    run([](FakeDialog& w) {
        w.command(id::main::kViewToggle);
        EXPECT_EQ(w.items[id::main::kViewToggle], u"詳細表示");
        ASSERT_EQ(w.list.columns.size(), 4u);
        EXPECT_EQ(w.list.rows.at(0),
                  (std::vector<std::u16string>{u"A", u"3人", u"0円", u"0円　　"}));
        w.command(id::main::kViewToggle);
        EXPECT_EQ(w.items[id::main::kViewToggle], u"簡易表示");
        EXPECT_EQ(w.list.rows.at(0), (std::vector<std::u16string>{u"A", u"3人", u"50%", u"1000円",
                                                                  u"0円", u"0円　　"}));
        w.command(id::kCancel);
    });
}

TEST_F(MainWindowTest, IconAndF1ShowTheAboutBoxAndNothingElse) {
    run([this](FakeDialog& w) {
        const int refreshes = w.invalidations;
        w.command(id::main::kAboutIcon);
        w.send({platform::Message::Kind::Help, 0});  // F1
        ASSERT_EQ(windows_.messageBoxes.size(), 2u);
        for (const auto& box : windows_.messageBoxes) {
            EXPECT_EQ(box.caption, u"Information");
            EXPECT_EQ(box.style.icon, platform::MessageIcon::Information);
            EXPECT_TRUE(box.text.starts_with(u"TALLY-SHARE Version1.00\n"));
            // The credit line is Japanese like every other text.
            const std::u16string credit = box.text.substr(box.text.find(u'\n') + 1);
            EXPECT_TRUE(std::any_of(credit.begin(), credit.end(), [](char16_t unit) {
                return unit >= 0x3000;
            })) << toUtf8(credit);
        }
        EXPECT_EQ(w.invalidations, refreshes);
        w.command(id::kCancel);
    });
}

TEST_F(MainWindowTest, AddOpensTheGroupDialogAndAppendsAnUncalculatedRow) {
    storeParty(10000, 100, {{u"A", 2, 100, 0}});
    windows_.onNextRun(res::kGroupDialog, [](FakeDialog& d) { d.command(id::kOk); });
    run([](FakeDialog& w) {
        // Before the first calculation of a run nothing is calculated.
        const auto remainder = w.items[id::main::kRemainderText];
        w.command(id::main::kAdd);
        ASSERT_EQ(w.list.rows.size(), 2u);
        EXPECT_EQ(w.list.rows[1], (std::vector<std::u16string>{u"新規", u"1人", u"100%", u"0円",
                                                               u"0円", u"0円　　"}));
        EXPECT_EQ(column(w.list, 4)[0], u"0円");
        EXPECT_EQ(w.items[id::main::kPeopleText], u"3人");
        EXPECT_EQ(w.items[id::main::kRemainderText], remainder);
        w.command(id::kCancel);
    });
    EXPECT_EQ(windows_.runs, (std::vector<int>{res::kMainDialog, res::kGroupDialog}));
}

TEST_F(MainWindowTest, ChangeEditsTheSelectedGroupInPlace) {
    storeParty(0, 100, {{u"A", 1, 100, 0}, {u"B", 1, 100, 0}});
    windows_.onNextRun(res::kGroupDialog, [](FakeDialog& d) {
        EXPECT_EQ(d.itemText(id::group::kNameField), u"B");
        d.type(id::group::kNameField, u"Bee");
        d.type(id::group::kRatioField, u"50");
        d.command(id::kOk);
    });
    run([](FakeDialog& w) {
        w.list.selectRow(1);
        w.command(id::main::kChange);
        EXPECT_EQ(column(w.list, 0), (std::vector<std::u16string>{u"A", u"Bee"}));
        EXPECT_EQ(column(w.list, 2), (std::vector<std::u16string>{u"100%", u"50%"}));
        EXPECT_EQ(w.list.selected, 1);
        w.command(id::kCancel);
    });
    EXPECT_EQ(loadStored()->groupAt(1)->ratio, 50);
}

TEST_F(MainWindowTest, InputSetsTotalAndUnitWithoutCalculating) {
    windows_.onNextRun(res::kTotalDialog, [](FakeDialog& d) {
        d.type(id::total::kTotalField, u"12000");
        d.type(id::total::kUnitCombo, u"1000");
        d.command(id::kOk);
    });
    run([](FakeDialog& w) {
        w.command(id::main::kInput);
        EXPECT_EQ(w.items[id::main::kTotalText], u"12000円");
        EXPECT_EQ(w.items[id::main::kUnitText], u"1000円");
        EXPECT_EQ(w.items[id::main::kRemainderText], u"0円");
        w.command(id::kCancel);
    });
    const auto stored = loadStored();
    EXPECT_EQ(stored->total, 12000);
    EXPECT_EQ(stored->unit, 1000);
}

// Every figure the window shows that a calculation writes.
using Figures = std::pair<std::vector<std::vector<std::u16string>>, std::u16string>;

Figures figures(FakeDialog& w) {
    return {w.list.rows, w.items[id::main::kRemainderText]};
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Once a calculation button was pressed, each change of the party shows the
// figures that pressing the same button again would show; the data is
// chosen so that the two calculations disagree after every change.
TEST_F(MainWindowTest, EveryChangeRecalculatesInTheModeLastAsked) {
    enum class Change { Add, Edit, Delete, Clear, Input };
    for (const int button : {id::main::kCalculatePlain, id::main::kCalculateRounded}) {
        const int other = button == id::main::kCalculatePlain ? id::main::kCalculateRounded
                                                              : id::main::kCalculatePlain;
        for (const Change change :
             {Change::Add, Change::Edit, Change::Delete, Change::Clear, Change::Input}) {
            SCOPED_TRACE(testing::Message() << button << " " << static_cast<int>(change));
            windows_ = FakeWindowSystem();
            storeParty(25000, 1000, {{u"A", 4, 100, 0}, {u"B", 2, 50, 0}, {u"C", 1, 100, 25000}});
            windows_.onNextRun(res::kGroupDialog, [](FakeDialog& d) {
                d.type(id::group::kAdvanceField, u"1000");
                d.command(id::kOk);
            });
            windows_.onNextRun(res::kTotalDialog, [](FakeDialog& d) {
                d.type(id::total::kTotalField, u"30000");
                d.command(id::kOk);
            });
            run([&](FakeDialog& w) {
                w.command(button);
                const Figures before = figures(w);
                w.list.selectRow(change == Change::Delete ? 0 : 1);
                const int commands[] = {id::main::kAdd, id::main::kChange, id::main::kDelete,
                                        id::main::kClear, id::main::kInput};
                w.command(commands[static_cast<int>(change)]);  // confirmations answer OK
                const Figures shown = figures(w);
                EXPECT_NE(shown, before);
                w.command(button);
                EXPECT_EQ(figures(w), shown);
                if (change == Change::Clear) {
                    EXPECT_EQ(shown.second, u"0円");  // no remainder of groups that are gone
                } else {
                    w.command(other);
                    EXPECT_NE(figures(w), shown);
                }
                w.command(id::kCancel);
            });
        }
    }
}

TEST_F(MainWindowTest, NothingToWeighIsReportedByTheButtonsOnly) {
    storeParty(1000, 100, {{u"A", 1, 100, 0}, {u"B", 1, 0, 500}});
    windows_.onNextRun(res::kGroupDialog, [](FakeDialog& d) {
        d.type(id::group::kRatioField, u"0");
        d.command(id::kOk);
    });
    windows_.onNextRun(res::kGroupDialog, [](FakeDialog& d) { d.command(id::kOk); });
    run([this](FakeDialog& w) {
        w.command(id::main::kCalculatePlain);
        EXPECT_EQ(column(w.list, 4), (std::vector<std::u16string>{u"1000円", u"0円"}));
        // A's ratio becomes 0: nothing can be calculated, and the old
        // figures go rather than stay beside data they do not belong to.
        w.list.selectRow(0);
        w.command(id::main::kChange);
        EXPECT_TRUE(windows_.messageBoxes.empty());
        EXPECT_EQ(column(w.list, 4), (std::vector<std::u16string>{u"0円", u"0円"}));
        EXPECT_EQ(w.items[id::main::kRemainderText], u"0円");

        for (const int button : {id::main::kCalculateRounded, id::main::kCalculatePlain}) {
            windows_.messageBoxes.clear();
            w.command(button);
            ASSERT_EQ(windows_.messageBoxes.size(), 1u);
            EXPECT_EQ(windows_.messageBoxes[0].text, u"人数と割合の合計が0のため計算できません");
            EXPECT_EQ(windows_.messageBoxes[0].caption, u"エラー");
            EXPECT_EQ(windows_.messageBoxes[0].style.icon, platform::MessageIcon::Warning);
        }
        // The calculation asked for runs as soon as there is something to weigh.
        windows_.messageBoxes.clear();
        w.command(id::main::kAdd);
        EXPECT_TRUE(windows_.messageBoxes.empty());
        EXPECT_EQ(column(w.list, 4), (std::vector<std::u16string>{u"0円", u"0円", u"1000円"}));

        w.command(id::main::kClear);  // answered OK; without groups nothing is reported
        w.command(id::main::kCalculatePlain);
        EXPECT_EQ(windows_.messageBoxes.size(), 1u);
        w.command(id::kCancel);
    });
}

// The texts themselves are checked in tests/ui/result_export_test.cpp.
TEST_F(MainWindowTest, CopyAndSaveCsvFromTheListMenu) {
    storeParty(1000, 100, {{u"=A", 1, 100, 0}});
    const fs::path csv = dir_ / "out.csv";
    run([&](FakeDialog& w) {
        w.command(id::main::kCalculatePlain);
        w.send({platform::Message::Kind::Copy, 0});  // Ctrl+C
        EXPECT_NE(windows_.clipboard.find(u"=A\t1人\t100%\t0円\t1000円\t1000円払う"),
                  std::u16string::npos);

        // The menu: closed without a choice, コピー in the simple view, and
        // CSVで保存… cancelled, then saved.
        w.command(id::main::kViewToggle);
        windows_.clipboard.clear();
        windows_.menuChoices = {0, id::main::kCopy, id::main::kSaveCsv, id::main::kSaveCsv};
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        EXPECT_TRUE(windows_.clipboard.empty());
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        EXPECT_EQ(windows_.menus[1],
                  (std::vector<std::u16string>{u"コピー", u"CSVで保存…", u"送る文面をコピー",
                                               u"次の会を追加", u"会の名前を変更", u"精算"}));
        EXPECT_TRUE(windows_.clipboard.starts_with(u"ｸﾞﾙｰﾌﾟ名\t人数\t支払額\t差引額"));

        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        ASSERT_EQ(windows_.savePathCalls.size(), 1u);
        EXPECT_EQ(windows_.savePathCalls[0].suggestedName, ui::csvFileName(localSaveDate()));
        EXPECT_EQ(windows_.savePathCalls[0].typeName, u"CSV");
        EXPECT_EQ(windows_.savePathCalls[0].extension, u"csv");
        EXPECT_FALSE(fs::exists(csv));
        windows_.savePathAnswer = fromUtf8(csv.string());
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        EXPECT_NE(readFile(csv).find("\r\n'=A,1,100,0,1000,-1000\r\n"), std::string::npos);
        EXPECT_TRUE(windows_.messageBoxes.empty());

        // After a change that leaves nothing to calculate the results are empty.
        w.command(id::main::kClear);
        windows_.menuChoices = {id::main::kSaveCsv};
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        EXPECT_TRUE(readFile(csv).ends_with("\r\n余り,\r\n"));

        // A clipboard that refuses the text is reported.
        windows_.messageBoxes.clear();
        windows_.clipboardWorks = false;
        w.send({platform::Message::Kind::Copy, 0});
        ASSERT_EQ(windows_.messageBoxes.size(), 1u);
        EXPECT_EQ(windows_.messageBoxes[0].text, u"クリップボードにコピーできませんでした");
        w.command(id::kCancel);
    });
}

TEST_F(MainWindowTest, TheChatTextGoesToTheClipboardOrTheShareSheet) {
    storeParty(3000, 1000, {{u"A", 2, 100, 0}});
    run([&](FakeDialog& w) {
        w.command(id::main::kCalculateRounded);
        windows_.menuChoices = {id::main::kCopyChat};
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        EXPECT_EQ(windows_.clipboard,
                  u"総額 3000円（1000円単位で割り勘）\nA 2人：1人 2000円払う\n"
                  u"余り 1000円（幹事の手元に残ります）\n");
        w.command(id::main::kSendChat);
        ASSERT_EQ(windows_.shared.size(), 1u);
        EXPECT_EQ(windows_.shared[0], windows_.clipboard);
        w.command(id::kCancel);
    });
}

// As in a browser tab: no close, a save after every change, the settings
// file in the list's menu, files by download and file picker.
class BrowserTabTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        behaviour_ = {.autosave = true, .mainWindowCloses = false, .settingsFileInMenu = true};
        windows_.filesAsDownloads = true;
        site_ = &windows_;
    }
    std::string storedBytes() { return readFile(dir_ / "ts.cfg"); }
};

TEST_F(BrowserTabTest, EveryChangeIsSavedAndTheWindowNeverCloses) {
    windows_.onNextRun(res::kGroupDialog, [](FakeDialog& d) {
        d.type(id::group::kNameField, u"A");
        d.command(id::kOk);
    });
    windows_.onNextRun(res::kTotalDialog, [](FakeDialog& d) {
        d.type(id::total::kTotalField, u"5000");
        d.command(id::kOk);
    });
    run([&](FakeDialog& w) {
        ASSERT_EQ(windows_.commandButtons.size(), 1u);
        EXPECT_EQ(windows_.commandButtons[0],
                  (std::pair<int, std::u16string>{id::main::kSendChat, u"送る"}));
        EXPECT_FALSE(fs::exists(dir_ / "ts.cfg"));  // nothing changed yet
        w.command(id::main::kAdd);
        EXPECT_EQ(loadStored()->groupCount(), 1);
        w.command(id::main::kInput);
        EXPECT_EQ(loadStored()->total, 5000);
        w.command(id::kOk);
        w.command(id::kCancel);
        EXPECT_FALSE(w.ended());
        EXPECT_TRUE(windows_.messageBoxes.empty());
    });
}

TEST_F(BrowserTabTest, AFailedSaveIsNotifiedOnceUntilASaveWorksAgain) {
    path_ = fromUtf8((dir_ / "missing-folder" / "ts.cfg").string());
    run([&](FakeDialog& w) {
        w.command(id::main::kInput);
        w.command(id::main::kInput);
        ASSERT_EQ(windows_.messageBoxes.size(), 1u);
        EXPECT_TRUE(windows_.messageBoxes[0].text.starts_with(u"この端末に保存できませんでした"));
        EXPECT_TRUE(w.notice.starts_with(u"最後の変更はこの端末に保存されていません"));
        EXPECT_EQ(w.list.rows.size(), 0u);  // the window goes on
        fs::create_directories(dir_ / "missing-folder");
        w.command(id::main::kInput);
        EXPECT_EQ(w.notice, u"");
        fs::remove_all(dir_ / "missing-folder");
        w.command(id::main::kInput);
        EXPECT_EQ(windows_.messageBoxes.size(), 2u);
    });
}

TEST_F(BrowserTabTest, ADeletionIsSavedBeforeItsRowLeavesTheList) {
    storeParty(1000, 100, {{u"A", 1, 100, 0}, {u"B", 1, 100, 0}});
    const test::FakeListView* list = nullptr;
    std::size_t rowsWhenTheSaveFailed = 0;
    windows_.onMessageBox = [&](const test::MessageBoxCall& box) {
        if (box.caption == u"エラー" && list != nullptr) {
            rowsWhenTheSaveFailed = list->rows.size();
        }
    };
    run([&](FakeDialog& w) {
        list = &w.list;
        fs::remove_all(dir_);  // every save from now on fails
        w.list.selected = 0;
        w.command(id::main::kDelete);
        EXPECT_EQ(rowsWhenTheSaveFailed, 2u);
        EXPECT_EQ(column(w.list, 0), std::vector<std::u16string>{u"B"});
    });
}

TEST_F(BrowserTabTest, ExportDownloadsTheStoredFileAndCsvIsADownloadToo) {
    storeParty(1000, 100, {{u"A\"B", 1, 100, 0}});
    const std::string stored = storedBytes();
    run([&](FakeDialog& w) {
        windows_.menuChoices = {id::main::kExportSettings, id::main::kSaveCsv};
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        EXPECT_EQ(windows_.menus[0].size(), 8u);  // and the round commands
        ASSERT_EQ(windows_.downloads.size(), 1u);
        EXPECT_EQ(windows_.downloads[0].name, u"ts.cfg");
        // Saved anew before the download, with today's date; the records
        // are those of the desktop's file.
        EXPECT_EQ(windows_.downloads[0].bytes, storedBytes());
        EXPECT_EQ(windows_.downloads[0].bytes.size(), stored.size());
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        ASSERT_EQ(windows_.downloads.size(), 2u);
        EXPECT_EQ(windows_.downloads[1].name, ui::csvFileName(localSaveDate()));
        EXPECT_EQ(windows_.downloads[1].mediaType, u"text/csv");
        EXPECT_TRUE(windows_.downloads[1].bytes.starts_with("\xEF\xBB\xBF"));
        EXPECT_TRUE(windows_.savePathCalls.empty());

        windows_.downloadsWork = false;
        windows_.menuChoices = {id::main::kExportSettings};
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        ASSERT_EQ(windows_.messageBoxes.size(), 1u);
        EXPECT_EQ(windows_.messageBoxes[0].text, u"設定ファイルを書き出せませんでした");
    });
}

TEST_F(BrowserTabTest, TheLinkCarriesThePartyToTheQrDialogAndTheChat) {
    behaviour_.shareLinks = true;
    windows_.makesLinks = true;
    storeParty(3000, 1000, {{u"A", 2, 100, 0}});
    run([&](FakeDialog& w) {
        EXPECT_EQ(windows_.commandButtons.back(),
                  (std::pair<int, std::u16string>{id::main::kShareLink, u"QRコード"}));
        w.command(id::main::kCalculateRounded);
        windows_.menuChoices = {id::main::kShareLink};
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        EXPECT_EQ(windows_.menus[0][3], u"QRコードとリンク");
        w.command(id::main::kSendChat);
        ASSERT_EQ(windows_.linkPayloads.size(), 2u);
        EXPECT_EQ(windows_.linkPayloads[0],
                  ui::partyLinkPayload(*loadStored(), ui::Calculated::ToTheUnit));
        ASSERT_EQ(windows_.linksShown.size(), 1u);
        // The chat text ends with the same link on a line of its own.
        ASSERT_EQ(windows_.shared.size(), 1u);
        EXPECT_TRUE(windows_.shared[0].ends_with(u"\n" + windows_.linksShown[0] + u"\n"));

        windows_.makesLinks = false;  // no link to be had: said, nothing shown
        w.command(id::main::kShareLink);
        EXPECT_EQ(windows_.messageBoxes.back().text, u"リンクを作れませんでした");
        EXPECT_EQ(windows_.linksShown.size(), 1u);
    });
}

// The other device refuses a payload over kMaxLinkPayload: such a party
// gets no link rather than one that cannot be opened.
TEST_F(BrowserTabTest, APartyTooLargeForALinkGetsNone) {
    behaviour_.shareLinks = true;
    windows_.makesLinks = true;
    std::vector<std::tuple<std::u16string, int, int, int>> groups(
        400, {std::u16string(60, u'割'), 1, 100, 0});
    storeParty(1000, 100, groups);
    ASSERT_GT(ui::partyLinkPayload(*loadStored(), ui::Calculated::None).size(),
              ui::kMaxLinkPayload);
    run([&](FakeDialog& w) {
        w.command(id::main::kShareLink);
        EXPECT_EQ(windows_.messageBoxes.back().text, u"リンクを作れませんでした");
        w.command(id::main::kSendChat);
        ASSERT_EQ(windows_.shared.size(), 1u);
        EXPECT_EQ(windows_.shared[0].find(u"https://"), std::u16string::npos);
        EXPECT_TRUE(windows_.linkPayloads.empty());
        EXPECT_TRUE(windows_.linksShown.empty());
    });
}

// Offered where no site serves them, a link and a file to read come to
// nothing: said for the link, and the party stays as it is.
TEST_F(MainWindowTest, WithoutASiteNoLinkIsMadeAndNoFileIsRead) {
    behaviour_.shareLinks = true;
    behaviour_.settingsFileInMenu = true;
    windows_.makesLinks = true;
    windows_.pickedBytes = "not read: without a site the picker never opens";
    storeParty(3000, 1000, {{u"A", 2, 100, 0}});
    run([&](FakeDialog& w) {
        w.command(id::main::kShareLink);
        ASSERT_EQ(windows_.messageBoxes.size(), 1u);
        EXPECT_EQ(windows_.messageBoxes[0].text, u"リンクを作れませんでした");
        w.command(id::main::kSendChat);
        ASSERT_EQ(windows_.shared.size(), 1u);
        EXPECT_EQ(windows_.shared[0].find(u"https://"), std::u16string::npos);
        windows_.menuChoices = {id::main::kImportSettings};
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        EXPECT_EQ(windows_.messageBoxes.size(), 1u);
        EXPECT_EQ(column(w.list, 0), std::vector<std::u16string>{u"A"});
        EXPECT_TRUE(windows_.linkPayloads.empty());
    });
}

// A party someone shared: shown with the sender's figures, read-only, and
// never saved; taking it as one's own ends the view after asking.
TEST_F(MainWindowTest, ASharedPartyIsShownReadOnly) {
    storeParty(10000, 100, {{u"A", 2, 100, 0}, {u"B", 1, 100, 10000}});
    const std::string shared = readFile(dir_ / "ts.cfg");
    behaviour_ = kSharedPartyView;
    calculation_ = Calculation::Rounded;
    windows_.onNextRun(res::kGroupDialog, [](FakeDialog& d) { d.command(id::kOk); });
    windows_.answerNext(MessageAnswer::Cancel);
    const int result = run(
        [&](FakeDialog& w) {
            EXPECT_EQ(column(w.list, 5),
                      (std::vector<std::u16string>{u"3400円払う", u"6600円返金"}));
            EXPECT_EQ(w.notice, u"共有された割り勘（見るだけ）");
            EXPECT_EQ(w.list.emptyText, u"");  // nothing here adds a group
            for (const int hidden :
                 {id::main::kAdd, id::main::kDelete, id::main::kInput, id::main::kCalculatePlain}) {
                EXPECT_TRUE(w.hidden[hidden]) << hidden;
            }
            for (const int command : {id::main::kAdd, id::main::kClear, id::main::kInput,
                                      id::main::kCalculatePlain, id::main::kImportSettings}) {
                w.command(command);
            }
            EXPECT_TRUE(windows_.messageBoxes.empty());
            EXPECT_EQ(w.list.rows.size(), 2u);
            EXPECT_EQ(column(w.list, 5)[0], u"3400円払う");
            w.command(id::kCancel);
            EXPECT_FALSE(w.ended());
            w.command(id::main::kTakeShared);  // answered Cancel
            EXPECT_FALSE(w.ended());
            w.command(id::main::kTakeShared);
            EXPECT_TRUE(w.ended());
        },
        /*first=*/false);  // a viewer takes no lock, even when another copy holds it
    EXPECT_EQ(result, kTakeSharedParty);
    EXPECT_EQ(activations_, 0);
    EXPECT_EQ(windows_.runs, (std::vector<int>{res::kMainDialog}));
    EXPECT_EQ(readFile(dir_ / "ts.cfg"), shared);
}

TEST_F(BrowserTabTest, ImportReadsOnlySettingsFilesAndOnlyWhenTheUserAgrees) {
    storeParty(1000, 100, {{u"Old", 1, 100, 0}});
    const std::string stored = storedBytes();
    std::u16string utf16Header;
    for (const char c : std::string("@TALLYSHARE/CONFIG,2.00\n")) {
        utf16Header.push_back(static_cast<char16_t>(c));
    }
    const std::string otherVersion(reinterpret_cast<const char*>(utf16Header.data()),
                                   utf16Header.size() * 2);
    const std::string rejected[] = {"", "\x89PNG\r\n\x1a\n garbage", otherVersion,
                                    stored.substr(0, 20)};

    Party incoming(u"FIRST");
    incoming.total = 7000;
    auto group = Group::create(u"New");
    incoming.addGroup(std::move(group));
    ASSERT_TRUE(saveToPath(fromUtf8((dir_ / "incoming.cfg").string()), incoming));

    run([&](FakeDialog& w) {
        for (const std::string& bytes : rejected) {
            windows_.pickedBytes = bytes;
            windows_.menuChoices = {id::main::kImportSettings};
            w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        }
        ASSERT_EQ(windows_.messageBoxes.size(), std::size(rejected));
        for (const auto& box : windows_.messageBoxes) {
            EXPECT_TRUE(box.text.ends_with(u"いまの内容は変わっていません。"));
        }
        EXPECT_EQ(column(w.list, 0), std::vector<std::u16string>{u"Old"});
        EXPECT_EQ(storedBytes(), stored);

        // A settings file: replaced only after the user agrees.
        windows_.pickedBytes = readFile(dir_ / "incoming.cfg");
        windows_.answerNext(MessageAnswer::Cancel);
        windows_.menuChoices = {id::main::kImportSettings, id::main::kImportSettings};
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        EXPECT_EQ(column(w.list, 0), std::vector<std::u16string>{u"Old"});
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        EXPECT_EQ(windows_.messageBoxes.back().caption, u"設定ファイルを読み込む");
        EXPECT_EQ(column(w.list, 0), std::vector<std::u16string>{u"New"});
        EXPECT_EQ(w.items[id::main::kTotalText], u"7000円");
        EXPECT_EQ(loadStored()->total, 7000);

        // Cancelling the picker does nothing.
        windows_.pickedBytes.reset();
        windows_.menuChoices = {id::main::kImportSettings};
        const std::size_t boxes = windows_.messageBoxes.size();
        w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
        EXPECT_EQ(windows_.messageBoxes.size(), boxes);
    });
}

TEST_F(MainWindowTest, AFailedCsvSaveIsReportedOnceAndLeavesFilesAlone) {
    storeParty(1000, 100, {{u"A", 1, 100, 0}});
    std::ofstream(dir_ / "previous.csv") << "previous";
    for (const fs::path& target : {dir_,                                  // a folder
                                   dir_ / "missing" / "out.csv",          // no such folder
                                   dir_ / "previous.csv" / "out.csv"}) {  // a file as folder
        SCOPED_TRACE(target.string());
        windows_ = FakeWindowSystem();
        windows_.savePathAnswer = fromUtf8(target.string());
        windows_.menuChoices = {id::main::kSaveCsv};
        run([this](FakeDialog& w) {
            w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
            ASSERT_EQ(windows_.messageBoxes.size(), 1u);
            EXPECT_EQ(windows_.messageBoxes[0].text, u"CSVファイルを保存できませんでした");
            EXPECT_EQ(windows_.messageBoxes[0].caption, u"エラー");
            w.command(id::kCancel);
        });
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"previous.csv", "ts.cfg"}));
        EXPECT_EQ(readFile(dir_ / "previous.csv"), "previous");
    }
}

// The rescued copies in a folder.
std::vector<fs::path> rescuedCopiesIn(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind("ts.cfg.rescued-", 0) == 0) {
            found.push_back(entry.path());
        }
    }
    return found;
}

// Makes the next save fail: a folder where the settings file should be.
void blockSettingsFile(const fs::path& file) {
    fs::remove(file);
    fs::create_directory(file);
}

TEST_F(MainWindowTest, AFailedSaveAtCloseOffersRetryAndSavesOnceTheProblemIsGone) {
    storeParty(12000, 1000, {{u"A", 2, 100, 0}});
    windows_.answerNext(MessageAnswer::Retry);
    windows_.answerNext(MessageAnswer::Retry);
    int boxesBeforeFix = 2;
    windows_.onMessageBox = [&](const test::MessageBoxCall&) {
        if (--boxesBeforeFix == 0) {
            fs::remove(dir_ / "ts.cfg");  // the user made room
        }
    };
    const int result = run([&](FakeDialog& w) {
        blockSettingsFile(dir_ / "ts.cfg");
        w.command(id::kCancel);
        EXPECT_TRUE(w.ended());
    });
    EXPECT_EQ(result, 1);
    ASSERT_EQ(windows_.messageBoxes.size(), 2u);
    for (const auto& box : windows_.messageBoxes) {
        EXPECT_EQ(box.text, text::kSaveFailedRetry);
        EXPECT_EQ(box.caption, u"エラー");
        EXPECT_EQ(box.style, (platform::MessageStyle{platform::MessageButtons::RetryCancel,
                                                     platform::MessageIcon::Warning}));
    }
    const auto stored = loadStored();
    EXPECT_EQ(stored->total, 12000);
    ASSERT_EQ(stored->groupCount(), 1);
    EXPECT_EQ(stored->groupAt(0)->people, 2);
}

TEST_F(MainWindowTest, CancelAfterAFailedSaveAsksBeforeEndingWithoutSaving) {
    struct Case {
        MessageAnswer leave;
        bool ends;
    };
    for (const Case c : {Case{MessageAnswer::Yes, true}, Case{MessageAnswer::No, false},
                         Case{MessageAnswer::Cancel, false}}) {
        SCOPED_TRACE(static_cast<int>(c.leave));
        fs::remove_all(dir_ / "ts.cfg");
        storeParty(500, 10, {{u"A", 1, 100, 0}});
        windows_ = FakeWindowSystem();
        windows_.answerNext(MessageAnswer::Cancel);
        windows_.answerNext(c.leave);
        const int result = run([&](FakeDialog& w) {
            blockSettingsFile(dir_ / "ts.cfg");
            w.command(id::kCancel);
            ASSERT_EQ(windows_.messageBoxes.size(), 2u);
            EXPECT_EQ(windows_.messageBoxes[1].text, text::kQuitWithoutSaving);
            EXPECT_EQ(windows_.messageBoxes[1].caption, u"終了");
            EXPECT_EQ(windows_.messageBoxes[1].style.buttons, platform::MessageButtons::YesNo);
            EXPECT_EQ(w.ended(), c.ends);
            if (c.ends) {
                return;
            }
            // Back in the window with everything there; once the user has
            // fixed the problem, the next close saves.
            EXPECT_EQ(w.list.rows.size(), 1u);
            w.command(id::main::kCalculatePlain);
            EXPECT_EQ(w.list.rows.size(), 1u);
            fs::remove(dir_ / "ts.cfg");
            w.command(id::kCancel);
            EXPECT_TRUE(w.ended());
        });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(windows_.messageBoxes.size(), 2u);
        EXPECT_EQ(fs::is_directory(dir_ / "ts.cfg"), c.ends);  // ended: nothing written
        if (!c.ends) {
            EXPECT_EQ(loadStored()->groupCount(), 1);
        }
    }
}

TEST_F(MainWindowTest, AQuitRequestWithAFailingSaveRescuesThePartyAndTellsTheNextStartOnce) {
    storeParty(12000, 100, {{u"A", 3, 80, 500}});
    userFolder_ = fromUtf8((dir_ / "user" / "tally-share").string());
    testing::internal::CaptureStderr();
    const int result = run([&](FakeDialog& w) {
        blockSettingsFile(dir_ / "ts.cfg");
        windows_.quitting = true;
        w.command(id::kCancel);
        EXPECT_TRUE(w.ended());
    });
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(windows_.messageBoxes.empty()) << "nothing may wait for the user";

    std::vector<fs::path> rescued;
    for (const auto& entry : fs::directory_iterator(dir_ / "user" / "tally-share")) {
        rescued.push_back(entry.path());
    }
    ASSERT_EQ(rescued.size(), 1u);
    const std::string name = rescued[0].filename().string();
    ASSERT_EQ(name.size(), std::string("ts.cfg.rescued-20261207-142501").size()) << name;
    EXPECT_EQ(name.substr(0, 15), "ts.cfg.rescued-");
    EXPECT_EQ(name[23], '-');
    EXPECT_NE(log.find(rescued[0].string()), std::string::npos) << log;
    auto party = Party::create(u"FIRST");
    ASSERT_TRUE(loadFromPath(fromUtf8(rescued[0].string()), *party));
    EXPECT_EQ(party->total, 12000);
    ASSERT_EQ(party->groupCount(), 1);
    EXPECT_EQ(party->groupAt(0)->advance, 500);
#ifndef _WIN32  // Windows folders take their parent's access rules instead
    EXPECT_EQ(fs::perms::owner_all,
              fs::status(dir_ / "user" / "tally-share").permissions() & fs::perms::all);
#endif

    // The next start names the rescued copy in one information box; the one
    // after that does not.
    fs::remove(dir_ / "ts.cfg");
    windows_ = FakeWindowSystem();
    run([](FakeDialog& w) { w.command(id::kCancel); });
    ASSERT_EQ(windows_.messageBoxes.size(), 1u);
    EXPECT_EQ(windows_.messageBoxes[0].style.icon, platform::MessageIcon::Information);
    EXPECT_NE(windows_.messageBoxes[0].text.find(fromUtf8(rescued[0].string())),
              std::u16string::npos);
    EXPECT_EQ(windows_.runs.size(), 1u);
    windows_ = FakeWindowSystem();
    run([](FakeDialog& w) { w.command(id::kCancel); });
    EXPECT_TRUE(windows_.messageBoxes.empty());
}

TEST_F(MainWindowTest, AQuitRequestAtTheRescueNoticeEndsTheProgramAndKeepsTheNoticeUnnotified) {
    userFolder_ = fromUtf8((dir_ / "user").string());
    fs::create_directories(dir_ / "user");
    std::ofstream(dir_ / "user" / "ts.cfg.rescued-20261207-142501") << "x";
    storeParty(300, 10, {});
    const auto before = fs::last_write_time(dir_ / "ts.cfg");
    windows_.onMessageBox = [&](const test::MessageBoxCall&) { windows_.quitting = true; };
    const int result =
        run([](FakeDialog&) { ADD_FAILURE() << "no main window after a quit request"; });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(windows_.messageBoxes.size(), 1u);
    EXPECT_TRUE(windows_.runs.empty());
    EXPECT_EQ(fs::last_write_time(dir_ / "ts.cfg"), before);
    EXPECT_EQ(unnotifiedRescues(userFolder_).size(), 1u);
}

TEST_F(MainWindowTest, AQuitRequestWhileAskingEndsWithARescueInsteadOfKeepingTheWindow) {
    // The quit arrives while the first or the second box is open; the window
    // system then answers it as dismissed.
    for (const std::size_t openBoxes : {std::size_t{1}, std::size_t{2}}) {
        SCOPED_TRACE(openBoxes);
        fs::remove_all(dir_ / "ts.cfg");
        fs::remove_all(dir_ / "user");
        storeParty(300, 10, {});
        userFolder_ = fromUtf8((dir_ / "user").string());
        windows_ = FakeWindowSystem();
        windows_.answerNext(MessageAnswer::Cancel);
        windows_.answerNext(MessageAnswer::No);
        windows_.onMessageBox = [&](const test::MessageBoxCall&) {
            windows_.quitting = windows_.messageBoxes.size() == openBoxes;
        };
        testing::internal::CaptureStderr();
        const int result = run([&](FakeDialog& w) {
            blockSettingsFile(dir_ / "ts.cfg");
            w.command(id::kCancel);
            EXPECT_TRUE(w.ended());
        });
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, 1);
        EXPECT_EQ(windows_.messageBoxes.size(), openBoxes);
        EXPECT_FALSE(rescuedCopiesIn(dir_ / "user").empty());
    }
}

TEST_F(MainWindowTest, WithoutAnyPlaceToRescueToThePartyGoesToTheLog) {
    setSaveDateSource([] { return SaveDate{2026, 12, 7}; });
    storeParty(700, 10, {{u"Ｂ班", 2, 50, 0}, {u"\"7\"組", 1, 100, 30}});
    std::ofstream(dir_ / "not-a-folder") << "x";
    userFolder_ = fromUtf8((dir_ / "not-a-folder" / "tally-share").string());
    testing::internal::CaptureStderr();
    const int result = run([&](FakeDialog& w) {
        blockSettingsFile(dir_ / "ts.cfg");
        windows_.quitting = true;
        w.command(id::kCancel);
    });
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(windows_.messageBoxes.empty());
    setSaveDateSource(nullptr);
    EXPECT_NE(log.find("PEOPLE,\"FIRST\",700,10,2026/12/7\n"), std::string::npos) << log;
    EXPECT_NE(log.find("GROUP,\"Ｂ班\",2,50,0\n"), std::string::npos) << log;

    // The printed records, converted to UTF-16LE as the README says, are a
    // settings file holding the same party.
    const std::size_t records = log.find("@TALLYSHARE/CONFIG");
    ASSERT_NE(records, std::string::npos) << log;
    std::string file;
    for (const char16_t unit : fromUtf8(log.substr(records))) {
        file.push_back(static_cast<char>(unit & 0xFF));
        file.push_back(static_cast<char>(unit >> 8));
    }
    fs::remove_all(dir_ / "ts.cfg");
    std::ofstream(dir_ / "ts.cfg", std::ios::binary) << file;
    const auto back = loadStored();
    EXPECT_EQ(back->total, 700);
    EXPECT_EQ(back->unit, 10);
    ASSERT_EQ(back->groupCount(), 2);
    EXPECT_EQ(back->groupAt(1)->name(), u"\"7\"組");
    EXPECT_EQ(back->groupAt(1)->advance, 30);
}

// Windows may end the process as soon as the session's end is answered:
// the party is kept before that, whichever dialog is open above the main
// window, without what that dialog has not stored.
TEST_F(MainWindowTest, TheSessionsEndSavesThePartyAsItStandsWhateverDialogIsOpen) {
    struct Case {
        int templateId;
        int opener;
        int field;
    };
    for (const Case c : {Case{res::kGroupDialog, id::main::kAdd, id::group::kNameField},
                         Case{res::kTotalDialog, id::main::kInput, id::total::kTotalField}}) {
        SCOPED_TRACE(c.templateId);
        storeParty(1000, 10, {{u"A", 2, 100, 0}});
        windows_ = FakeWindowSystem();
        FakeDialog* main = nullptr;
        windows_.onNextRun(c.templateId, [&](FakeDialog& d) {
            d.type(c.field, u"999");  // typed, not stored
            windows_.quitting = true;
            main->send({platform::Message::Kind::SessionEnd, 0});
            const auto saved = loadStored();
            EXPECT_EQ(saved->total, 1000);
            ASSERT_EQ(saved->groupCount(), 1);
            EXPECT_EQ(saved->groupAt(0)->name(), u"A");
            d.command(id::kCancel);  // then the quit closes the dialog
        });
        const int result = run([&](FakeDialog& w) {
            main = &w;
            fs::remove(dir_ / "ts.cfg");  // what is there next was saved at the end
            w.command(c.opener);
            w.command(id::kCancel);
        });
        EXPECT_EQ(result, 1);
        EXPECT_TRUE(windows_.messageBoxes.empty());
        EXPECT_EQ(loadStored()->groupCount(), 1);
    }
}

TEST_F(MainWindowTest, AFailedSaveAtTheSessionsEndIsRescuedOnce) {
    storeParty(1000, 10, {{u"A", 2, 100, 0}});
    userFolder_ = fromUtf8((dir_ / "user").string());
    testing::internal::CaptureStderr();
    const int result = run([&](FakeDialog& w) {
        blockSettingsFile(dir_ / "ts.cfg");
        windows_.quitting = true;
        w.send({platform::Message::Kind::SessionEnd, 0});
        EXPECT_EQ(rescuedCopiesIn(dir_ / "user").size(), 1u);
        w.command(id::kCancel);
    });
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(windows_.messageBoxes.empty());
    EXPECT_EQ(rescuedCopiesIn(dir_ / "user").size(), 1u);
}

TEST_F(MainWindowTest, ASecondCopyActivatesTheFirstAndTouchesNothing) {
    storeParty(500, 10, {});
    const auto before = fs::last_write_time(dir_ / "ts.cfg");
    const int result = run([](FakeDialog&) { ADD_FAILURE() << "no window for a second copy"; },
                           /*first=*/false);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(activations_, 1);
    EXPECT_TRUE(windows_.runs.empty());
    EXPECT_EQ(fs::last_write_time(dir_ / "ts.cfg"), before);
}

// The road of a typical use, step for step as the Windows program's GUI test
// drives the real windows: both programs must write the same settings file.
TEST_F(MainWindowTest, TypicalUseWritesTheSharedGoldenFile) {
    setSaveDateSource([] { return SaveDate{2001, 2, 3}; });
    windows_.onNextRun(res::kGroupDialog, [](FakeDialog& d) {
        d.type(id::group::kNameField, u"幹事チーム");
        d.type(id::group::kPeopleField, u"2");
        d.type(id::group::kAdvanceField, u"3000");
        d.type(id::group::kAddendField, u"500");
        d.command(id::group::kAddAddend);
        EXPECT_EQ(d.itemText(id::group::kAdvanceField), u"3500");
        d.command(id::kOk);
    });
    windows_.onNextRun(res::kGroupDialog, [this](FakeDialog& d) {
        d.type(id::group::kNameField, u"ゲスト 田中");
        d.type(id::group::kPeopleField, u"");
        d.command(id::kOk);
        ASSERT_EQ(windows_.messageBoxes.size(), 1u);
        EXPECT_EQ(windows_.messageBoxes[0].text, u"このグループの人数を入力してください");
        d.type(id::group::kPeopleField, u"1");
        d.clickUp(id::group::kPeopleArrows);
        d.clickUp(id::group::kPeopleArrows);
        d.clickDown(id::group::kRatioArrows);
        d.type(id::group::kAdvanceField, u"１０００");
        d.command(id::kOk);
    });
    windows_.onNextRun(res::kTotalDialog, [this](FakeDialog& d) {
        d.command(id::total::kTakeAdvances);
        EXPECT_EQ(d.itemText(id::total::kTotalField), u"10000");
        d.type(id::total::kTotalField, u"");
        d.command(id::kOk);
        ASSERT_EQ(windows_.messageBoxes.size(), 2u);
        EXPECT_EQ(windows_.messageBoxes[1].text, u"総額を入力してください");
        d.type(id::total::kTotalField, u"１２３４５");
        d.type(id::total::kUnitCombo, u"１０００");
        d.command(id::kOk);
    });
    run([](FakeDialog& w) {
        w.command(id::main::kAdd);
        w.command(id::main::kAdd);
        w.command(id::main::kInput);
        w.command(id::main::kCalculateRounded);
        EXPECT_EQ(w.list.rows,
                  (std::vector<std::vector<std::u16string>>{
                      {u"幹事チーム", u"2人", u"100%", u"3500円", u"3000円", u"0円　　"},
                      {u"ゲスト 田中", u"3人", u"90%", u"1000円", u"3000円", u"2000円払う"}}));
        EXPECT_EQ(w.items[id::main::kPeopleText], u"5人");
        EXPECT_EQ(w.items[id::main::kTotalText], u"12345円");
        EXPECT_EQ(w.items[id::main::kUnitText], u"1000円");
        EXPECT_EQ(w.items[id::main::kRemainderText], u"3155円");
        w.command(id::kCancel);
    });
    setSaveDateSource(nullptr);
    std::ifstream written(dir_ / "ts.cfg", std::ios::binary);
    std::ifstream golden(TS_TYPICAL_USE_CFG, std::ios::binary);
    ASSERT_TRUE(golden) << TS_TYPICAL_USE_CFG;
    const std::string writtenBytes{std::istreambuf_iterator<char>(written), {}};
    const std::string goldenBytes{std::istreambuf_iterator<char>(golden), {}};
    EXPECT_EQ(writtenBytes, goldenBytes);
}

// --- The evening: rounds, the selector, the settlement.

std::vector<std::u16string> roundsOffered(FakeDialog& w) {
    return w.comboEntries[id::main::kRoundCombo];
}

Evening storedEvening(const std::u16string& path) {
    Evening evening = Evening::create();
    EXPECT_TRUE(loadFromPath(path, evening));
    return evening;
}

void chooseFromMenu(FakeWindowSystem& windows, FakeDialog& w, int command) {
    windows.menuChoices = {command};
    w.send({platform::Message::Kind::ContextMenu, id::main::kGroupList});
}

// 次の会を追加 copies the groups into a new round and shows it; the
// selector appears with two rounds and switches the list, the totals and
// the commands; 会の名前を変更 and この会を削除 act on the round shown.
TEST_F(MainWindowTest, RoundsAreAddedRenamedSwitchedAndDeleted) {
    storeParty(10000, 1000, {{u"A", 2, 100, 0}, {u"B", 1, 100, 10000}});
    windows_.onNextRun(res::kRoundNameDialog, [](FakeDialog& d) {
        d.type(id::round::kNameField, u"カラオケ");
        d.command(id::kOk);
    });
    run([&](FakeDialog& w) {
        EXPECT_TRUE(w.hidden[id::main::kRoundCombo]);
        w.command(id::main::kCalculateRounded);
        w.list.selected = 1;
        chooseFromMenu(windows_, w, id::main::kAddRound);
        EXPECT_FALSE(w.hidden[id::main::kRoundCombo]);
        EXPECT_EQ(roundsOffered(w), (std::vector<std::u16string>{u"一次会", u"二次会"}));
        EXPECT_EQ(w.comboSelected[id::main::kRoundCombo], 1);
        // The same groups, nothing paid yet, no total, the same unit.
        EXPECT_EQ(w.list.rows, (std::vector<std::vector<std::u16string>>{
                                   {u"A", u"2人", u"100%", u"0円", u"0円", u"0円　　"},
                                   {u"B", u"1人", u"100%", u"0円", u"0円", u"0円　　"}}));
        EXPECT_EQ(w.list.selected, 1);
        EXPECT_EQ(w.items[id::main::kTotalText], u"0円");
        EXPECT_EQ(w.items[id::main::kUnitText], u"1000円");

        chooseFromMenu(windows_, w, id::main::kRenameRound);
        EXPECT_EQ(roundsOffered(w), (std::vector<std::u16string>{u"一次会", u"カラオケ"}));
        EXPECT_EQ(windows_.menus.back().back(), u"精算");
        EXPECT_EQ(windows_.menus.back()[5], u"この会を削除");

        w.choose(id::main::kRoundCombo, 0);  // the first round, as calculated
        EXPECT_EQ(column(w.list, 5), (std::vector<std::u16string>{u"4000円払う", u"6000円返金"}));
        EXPECT_EQ(w.items[id::main::kTotalText], u"10000円");
        w.command(id::main::kInput);  // no dialog scripted: acts on the first round's
        w.choose(id::main::kRoundCombo, 1);
        windows_.answerNext(MessageAnswer::Cancel);
        w.command(id::main::kDeleteRound);
        EXPECT_EQ(roundsOffered(w).size(), 2u);
        w.command(id::main::kDeleteRound);
        EXPECT_EQ(windows_.messageBoxes.back().caption, u"この会を削除");
        EXPECT_EQ(windows_.messageBoxes.back().text,
                  u"この会（カラオケ）を削除しますか？\nこの会のグループと金額も消えます。");
        EXPECT_TRUE(w.hidden[id::main::kRoundCombo]);
        EXPECT_EQ(column(w.list, 5), (std::vector<std::u16string>{u"4000円払う", u"6000円返金"}));
        windows_.messageBoxes.clear();
        w.command(id::main::kDeleteRound);  // the only round stays, without asking
        EXPECT_TRUE(windows_.messageBoxes.empty());
        w.command(id::kOk);
    });
    // Back to one plain round: the file is a single party's again.
    EXPECT_TRUE(storedEvening(path_).isSingleParty());
    EXPECT_EQ(loadStored()->total, 10000);
}

// Where every change is saved before it is shown, so is every round
// command, switching rounds included.
TEST_F(BrowserTabTest, EveryRoundCommandIsSavedBeforeItIsShown) {
    storeParty(3000, 100, {{u"A", 3, 100, 0}});
    windows_.onNextRun(res::kRoundNameDialog, [](FakeDialog& d) {
        d.type(id::round::kNameField, u"二軒目");
        d.command(id::kOk);
    });
    std::vector<int> roundsSaved;
    std::vector<std::vector<std::u16string>> shownThen;
    FakeDialog* window = nullptr;
    const auto note = [&] {
        const Evening stored = storedEvening(path_);
        roundsSaved.push_back(stored.roundCount() * 10 + stored.currentIndex());
        shownThen.push_back(roundsOffered(*window));
    };
    run([&](FakeDialog& w) {
        window = &w;
        w.command(id::main::kAddRound);
        note();
        w.command(id::main::kRenameRound);
        EXPECT_EQ(storedEvening(path_).roundName(1), u"二軒目");
        w.choose(id::main::kRoundCombo, 0);
        note();
        w.command(id::main::kAddRound);
        note();
        w.command(id::main::kDeleteRound);  // the third, the one shown
        note();

        // A save that fails is said while the window still shows the
        // rounds as they were.
        std::vector<std::u16string> shownWhenSaid;
        windows_.onMessageBox = [&](const test::MessageBoxCall&) {
            shownWhenSaid = roundsOffered(w);
        };
        fs::remove_all(dir_);
        w.command(id::main::kAddRound);
        EXPECT_EQ(shownWhenSaid, (std::vector<std::u16string>{u"一次会", u"二軒目"}));
        EXPECT_EQ(roundsOffered(w).size(), 3u);
    });
    EXPECT_EQ(roundsSaved, (std::vector<int>{21, 20, 32, 21}));
    EXPECT_EQ(shownThen.back(), (std::vector<std::u16string>{u"一次会", u"二軒目"}));
}

// The menu of the round selector (the browser's button beside it) holds
// the list menu's round commands and 精算, which act as they do there; a
// shared evening's holds 精算 alone.
TEST_F(MainWindowTest, TheRoundSelectorsMenuHoldsTheRoundCommandsAndTheSettlement) {
    const auto roundMenu = [this](FakeDialog& w, int command) {
        windows_.menuChoices = {command};
        w.send({platform::Message::Kind::ContextMenu, id::main::kRoundCombo});
        return windows_.menus.back();
    };
    windows_.answerNext(MessageAnswer::Ok);
    windows_.onNextRun(res::kSettlementDialog, [](FakeDialog& d) { d.command(id::kCancel); });
    run([&](FakeDialog& w) {
        w.command(id::main::kAddRound);
        EXPECT_EQ(roundMenu(w, id::main::kAddRound),
                  (std::vector<std::u16string>{u"次の会を追加", u"会の名前を変更", u"この会を削除",
                                               u"精算"}));
        EXPECT_EQ(roundsOffered(w).size(), 3u);
        roundMenu(w, id::main::kDeleteRound);  // the third, after asking
        EXPECT_EQ(roundsOffered(w), (std::vector<std::u16string>{u"一次会", u"二次会"}));
        roundMenu(w, id::main::kSettle);
        w.command(id::kOk);
    });
    EXPECT_EQ(windows_.runs, (std::vector<int>{res::kMainDialog, res::kSettlementDialog}));
    EXPECT_EQ(storedEvening(path_).roundCount(), 2);

    behaviour_ = kSharedPartyView;
    windows_.menus.clear();
    run(
        [&](FakeDialog& w) {
            EXPECT_EQ(roundMenu(w, 0), std::vector<std::u16string>{u"精算"});
            w.command(id::main::kTakeShared);
        },
        /*first=*/false);
}

TEST_F(MainWindowTest, AnEveningHasAtMostTwentyRounds) {
    run([&](FakeDialog& w) {
        for (int i = 1; i < Evening::kMaxRounds; ++i) {
            w.command(id::main::kAddRound);
        }
        EXPECT_TRUE(windows_.messageBoxes.empty());
        w.command(id::main::kAddRound);
        ASSERT_EQ(windows_.messageBoxes.size(), 1u);
        EXPECT_EQ(windows_.messageBoxes[0].text, u"これ以上会を追加できません（20まで）");
        EXPECT_EQ(roundsOffered(w).size(), 20u);
        w.command(id::kOk);
    });
    EXPECT_EQ(storedEvening(path_).roundCount(), 20);
}

// A stored evening comes back on the round it was left on, each round with
// its calculation; the settlement opens over all of them and what is
// marked there is kept.
TEST_F(MainWindowTest, AStoredEveningComesBackWithItsRoundsAndItsSettlement) {
    Evening evening(test::makeParty(u"FIRST", 3000, 100, {{u"A", 2}}));
    evening.current().calculation = Calculation::Plain;
    evening.addRound();
    evening.party().total = 1000;
    evening.current().calculation = Calculation::Rounded;
    evening.setCurrent(0);
    ASSERT_TRUE(saveToPath(path_, evening));
    windows_.onNextRun(res::kSettlementDialog, [](FakeDialog& d) {
        EXPECT_EQ(d.list.rows.at(0).at(0), u"A 2人（一次会・二次会）");
        EXPECT_EQ(d.list.rows.at(0).at(1), u"2000円払う");
        d.command(id::settle::kMarkPaid);
        d.command(id::kCancel);
    });
    run([&](FakeDialog& w) {
        EXPECT_EQ(w.comboSelected[id::main::kRoundCombo], 0);
        EXPECT_EQ(column(w.list, 5), std::vector<std::u16string>{u"1500円払う"});
        w.choose(id::main::kRoundCombo, 1);
        EXPECT_EQ(column(w.list, 5), std::vector<std::u16string>{u"500円払う"});
        chooseFromMenu(windows_, w, id::main::kSettle);
        w.command(id::kOk);
    });
    EXPECT_EQ(windows_.runs, (std::vector<int>{res::kMainDialog, res::kSettlementDialog}));
    const Evening stored = storedEvening(path_);
    EXPECT_EQ(stored.currentIndex(), 1);
    EXPECT_EQ(stored.marks.size(), 1u);
}

// A shared evening: every round can be looked at and the settlement with
// its marks, and nothing changes or is saved.
TEST_F(MainWindowTest, ASharedEveningShowsEveryRoundAndTheSettlementReadOnly) {
    Evening evening(test::makeParty(u"FIRST", 1000, 100, {{u"A"}}));
    evening.current().calculation = Calculation::Plain;
    evening.addRound();
    evening.marks[{u"A", 1}] = Mark{300, -1000};
    ASSERT_TRUE(saveToPath(path_, evening));
    const std::string shared = readFile(dir_ / "ts.cfg");
    behaviour_ = kSharedPartyView;
    windows_.onNextRun(res::kSettlementDialog, [](FakeDialog& d) {
        EXPECT_TRUE(d.hidden[id::settle::kMarkPaid]);
        EXPECT_TRUE(d.list.rows.empty());  // 二次会 is not calculated
        d.command(id::kCancel);
    });
    run(
        [&](FakeDialog& w) {
            EXPECT_FALSE(w.hidden[id::main::kRoundCombo]);
            w.choose(id::main::kRoundCombo, 0);
            EXPECT_EQ(column(w.list, 5), std::vector<std::u16string>{u"1000円払う"});
            for (const int command :
                 {id::main::kAddRound, id::main::kRenameRound, id::main::kDeleteRound}) {
                w.command(command);
            }
            EXPECT_EQ(roundsOffered(w).size(), 2u);
            chooseFromMenu(windows_, w, id::main::kSettle);
            EXPECT_EQ(windows_.menus.back(),
                      (std::vector<std::u16string>{u"コピー", u"CSVで保存…", u"送る文面をコピー",
                                                   u"精算"}));
            w.command(id::main::kTakeShared);
        },
        /*first=*/false);
    EXPECT_EQ(windows_.runs, (std::vector<int>{res::kMainDialog, res::kSettlementDialog}));
    EXPECT_EQ(readFile(dir_ / "ts.cfg"), shared);
}

TEST_F(BrowserTabTest, ExportAndImportCarryTheWholeEvening) {
    Evening evening = Evening::create();
    evening.addRound();
    evening.setRoundTitle(1, u"二軒目");
    evening.payee = u"PayPay";
    const std::u16string incoming = fromUtf8((dir_ / "incoming.cfg").string());
    ASSERT_TRUE(saveToPath(incoming, evening));
    storeParty(500, 100, {{u"Old", 1, 100, 0}});
    windows_.pickedBytes = readFile(dir_ / "incoming.cfg");
    run([&](FakeDialog& w) {
        chooseFromMenu(windows_, w, id::main::kImportSettings);
        EXPECT_EQ(roundsOffered(w), (std::vector<std::u16string>{u"一次会", u"二軒目"}));
        EXPECT_EQ(storedEvening(path_).payee, u"PayPay");
        chooseFromMenu(windows_, w, id::main::kExportSettings);
        ASSERT_EQ(windows_.downloads.size(), 1u);
        EXPECT_EQ(windows_.downloads[0].bytes, storedBytes());
    });
}

}  // namespace
}  // namespace ts::app
