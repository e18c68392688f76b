#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/application.h"
#include "model/party.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "resources/texts.h"
#include "storage/settings_file.h"
#include "storage/text.h"
#include "tests/support/fake_window_system.h"

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
        const int result = runApplication(windows_, lock, path_);
        activations_ = lock.activations;
        return result;
    }

    fs::path dir_;
    std::u16string path_;
    FakeWindowSystem windows_;
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
        EXPECT_TRUE(w.ended);
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

TEST_F(MainWindowTest, ClearAsksAndKeepsTotalUnitAndRemainder) {
    storeParty(9000, 1000, {{u"A", 2, 100, 0}, {u"B", 1, 50, 0}});
    run([this](FakeDialog& w) {
        w.command(id::main::kCalculateRounded);
        const auto remainder = w.items[id::main::kRemainderText];
        windows_.answerNext(MessageAnswer::Cancel);
        w.command(id::main::kClear);
        EXPECT_EQ(w.list.rows.size(), 2u);
        windows_.answerNext(MessageAnswer::Ok);
        w.command(id::main::kClear);
        EXPECT_EQ(windows_.messageBoxes.back().text, text::kClearQuestion);
        EXPECT_EQ(windows_.messageBoxes.back().caption, text::kClearCaption);
        EXPECT_TRUE(w.list.rows.empty());
        EXPECT_EQ(w.items[id::main::kPeopleText], u"0人");
        EXPECT_EQ(w.items[id::main::kTotalText], u"9000円");
        EXPECT_EQ(w.items[id::main::kUnitText], u"1000円");
        EXPECT_EQ(w.items[id::main::kRemainderText], remainder);
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

TEST_F(MainWindowTest, IconShowsTheAboutBoxAndNothingElse) {
    run([this](FakeDialog& w) {
        const int refreshes = w.invalidations;
        w.command(id::main::kAboutIcon);
        ASSERT_EQ(windows_.messageBoxes.size(), 1u);
        EXPECT_EQ(windows_.messageBoxes[0].caption, u"Information");
        EXPECT_EQ(windows_.messageBoxes[0].style.icon, platform::MessageIcon::Information);
        EXPECT_TRUE(windows_.messageBoxes[0].text.starts_with(u"TALLY-SHARE Version1.00\n"));
        EXPECT_EQ(w.invalidations, refreshes);
        w.command(id::kCancel);
    });
}

TEST_F(MainWindowTest, AddOpensTheGroupDialogAndAppendsAnUncalculatedRow) {
    storeParty(10000, 100, {{u"A", 2, 100, 0}});
    windows_.onNextRun(res::kGroupDialog, [](FakeDialog& d) { d.command(id::kOk); });
    run([](FakeDialog& w) {
        w.command(id::main::kCalculateRounded);
        const auto remainder = w.items[id::main::kRemainderText];
        w.command(id::main::kAdd);
        ASSERT_EQ(w.list.rows.size(), 2u);
        EXPECT_EQ(w.list.rows[1], (std::vector<std::u16string>{u"新規", u"1人", u"100%", u"0円",
                                                               u"0円", u"0円　　"}));
        EXPECT_EQ(column(w.list, 4)[0], u"5000円");  // not recalculated
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

TEST_F(MainWindowTest, AFailedSaveIsReportedOnceAndTheWindowStillCloses) {
    path_ = fromUtf8((dir_ / "missing-folder" / "ts.cfg").string());
    const int result = run([](FakeDialog& w) { w.command(id::kCancel); });
    EXPECT_EQ(result, 1);
    ASSERT_EQ(windows_.messageBoxes.size(), 1u);
    EXPECT_EQ(windows_.messageBoxes[0].text, u"設定ファイルを保存できませんでした");
    EXPECT_EQ(windows_.messageBoxes[0].caption, u"エラー");
    EXPECT_EQ(windows_.messageBoxes[0].style.icon, platform::MessageIcon::Warning);
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

}  // namespace
}  // namespace ts::app
