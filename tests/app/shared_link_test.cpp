// Opening a link to someone's party: the refusals, the read-only view, and
// the party taken as this device's own.
#include "app/shared_link.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/evening.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "resources/texts.h"
#include "storage/evening_file.h"
#include "storage/link_fragment.h"
#include "storage/store.h"
#include "tests/storage/settings_fixture.h"
#include "tests/support/fake_window_system.h"
#include "ui/party_link.h"

namespace ts::app {
namespace {

using test::FakeDialog;
using test::FakeWindowSystem;

// The lock held by another copy: a view must not need it.
class HeldLock final : public platform::InstanceLock {
public:
    bool acquire() override { return false; }
    void activateRunningCopy() override {}
};

// The browser's side, with a stand-in for deflate: the data is the payload
// after a 'Z'; anything else does not inflate.
class FakeHost final : public LinkHost {
public:
    explicit FakeHost(const test::Scratch& scratch) : own(scratch.wide("own/ts.cfg")) {}

    bool inflate(std::string_view data, std::size_t limit, std::string& payload) override {
        if (!data.starts_with('Z')) {
            return false;
        }
        payload = data.substr(1, limit);
        return true;
    }
    std::unique_ptr<Store> openOwnParty() override {
        log.emplace_back("open");
        return std::make_unique<FileStore>(own);
    }
    void forgetLink() override { log.emplace_back("forget"); }

    std::u16string own;
    std::vector<std::string> log;
};

std::string fragmentOf(std::string_view payload, char format = kLinkFormat) {
    return linkFragment("Z" + std::string(payload), format);
}

class SharedLinkTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::makeFolder(scratch_.file("own")));
        ASSERT_TRUE(saveToPath(host_.own, *test::makeParty(u"FIRST", 500, 10, {{u"自分の組"}})));
        ownBytes_ = test::readBytes(scratch_.file("own/ts.cfg"));
    }

    bool open(std::string_view fragment) {
        HeldLock lock;
        return openLink(windows_, lock, fragment, host_, start_);
    }

    // Where the start of the device's own party keeps it.
    std::u16string ownStore() const { return start_.store ? start_.store->where() : u"none"; }

    std::string ownParty() {
        auto party = Party::create(u"FIRST");
        EXPECT_TRUE(loadFromPath(host_.own, *party));
        return test::describe(*party);
    }

    test::Scratch scratch_;
    FakeHost host_{scratch_};
    FakeWindowSystem windows_;
    Startup start_;
    std::string ownBytes_;
};

TEST_F(SharedLinkTest, ALinkThatCannotBeReadIsSaidAndChangesNothing) {
    const std::string people = "PEOPLE,\"P\",1,100,\n";
    const std::u16string_view unreadable = text::kLinkUnreadable;
    const struct {
        const char* what;
        std::string fragment;
        std::u16string_view said;
    } cases[] = {
        {"a later format", "3" + fragmentOf("y\n" + people).substr(1), text::kLinkNewer},
        {"not base64url", "1Zm9v!", unreadable},
        {"data that does not inflate", linkFragment("garbage", kLinkFormat), unreadable},
        {"an evening's payload as a party's", fragmentOf("E,1,0\nR,\"\",u\n"), unreadable},
        {"an evening the settings file refuses",
         fragmentOf("E,1,0\nR,\"\",u\nP,\"P\",1,100\nO,\"A\",1\nO,\"A\",2\n", kEveningLinkFormat),
         unreadable},
        {"a payload that is no party", fragmentOf("y\nGROUP,\"G\",1,100,0\n"), unreadable},
        {"a fragment longer than any link", "1" + std::string(kMaxLinkFragment, 'A'),
         text::kLinkTooLarge},
        {"a payload larger than any party",
         fragmentOf("y\n" + people + std::string(ui::kMaxLinkPayload, 'x')), text::kLinkTooLarge},
    };
    for (const auto& c : cases) {
        windows_ = {};
        host_.log.clear();
        start_ = {};
        EXPECT_TRUE(open(c.fragment)) << c.what;
        ASSERT_EQ(windows_.messageBoxes.size(), 1u) << c.what;
        EXPECT_EQ(windows_.messageBoxes[0].text, c.said) << c.what;
        EXPECT_EQ(windows_.messageBoxes[0].caption, u"エラー") << c.what;
        EXPECT_TRUE(windows_.runs.empty()) << c.what;
        EXPECT_EQ(host_.log, (std::vector<std::string>{"forget", "open"})) << c.what;
        EXPECT_EQ(ownStore(), host_.own) << c.what;
        EXPECT_EQ(start_.calculation, Calculation::None) << c.what;
        EXPECT_EQ(test::readBytes(scratch_.file("own/ts.cfg")), ownBytes_) << c.what;
    }
}

TEST_F(SharedLinkTest, TheTakenPartyIsStoredAsTheDevicesOwn) {
    const auto sent = test::makeParty(
        u"FIRST", 12345, 1000, {{u"幹事チーム", 2, 100, 3500}, {u"ゲスト 田中", 3, 90, 1000}});
    const std::string fragment = fragmentOf(ui::partyLinkPayload(*sent, ui::Calculated::ToTheUnit));

    // A view that ends without the party taken starts nothing.
    EXPECT_FALSE(open(fragment));
    EXPECT_TRUE(host_.log.empty());

    start_.site = &windows_;
    windows_.makesLinks = true;
    windows_.onNextRun(res::kMainDialog, [&](FakeDialog& w) {
        w.command(id::main::kShareLink);  // passed on as it came, on the site's own link
        EXPECT_EQ(windows_.linksShown.size(), 1u);
        EXPECT_EQ(w.list.rows.size(), 2u);
        EXPECT_EQ(w.list.rows[1][5], u"2000円払う");  // the sender's figures
        EXPECT_EQ(w.notice, u"共有された割り勘（見るだけ）");
        EXPECT_TRUE(host_.log.empty()) << "the view waits for no lock and opens no storage";
        w.command(id::main::kTakeShared);
    });
    EXPECT_TRUE(open(fragment));
    EXPECT_EQ(host_.log, (std::vector<std::string>{"open", "forget"}));
    EXPECT_EQ(ownParty(), test::describe(*sent));
    EXPECT_EQ(ownStore(), host_.own);
    EXPECT_EQ(start_.calculation, Calculation::Rounded);
    EXPECT_EQ(windows_.messageBoxes.size(), 1u);  // the question before taking it
}

TEST_F(SharedLinkTest, AFailedSaveIsSaidAndTheSharedPartyComesBack) {
    const auto sent = test::makeParty(u"FIRST", 3000, 100, {{u"A", 2, 100, 0}});
    const std::string fragment = fragmentOf(ui::partyLinkPayload(*sent, ui::Calculated::None));
    host_.own = scratch_.wide("not yet/ts.cfg");
    // While the user reads the box, room is made.
    windows_.onMessageBox = [&](const test::MessageBoxCall& box) {
        if (box.text == text::kStoreFailed) {
            ASSERT_TRUE(test::makeFolder(scratch_.file("not yet")));
        }
    };
    for (int run = 0; run < 2; ++run) {
        windows_.onNextRun(res::kMainDialog, [&](FakeDialog& w) {
            EXPECT_EQ(w.list.rows.size(), 1u);
            w.command(id::main::kTakeShared);
        });
    }
    EXPECT_TRUE(open(fragment));
    EXPECT_EQ(windows_.runs, (std::vector<int>{res::kMainDialog, res::kMainDialog}));
    EXPECT_EQ(host_.log, (std::vector<std::string>{"open", "open", "forget"}));
    EXPECT_EQ(windows_.messageBoxes[1].text, text::kStoreFailed);
    EXPECT_EQ(ownParty(), test::describe(*sent));
    EXPECT_EQ(ownStore(), host_.own);
}

TEST_F(SharedLinkTest, ATakenEveningIsStoredWhole) {
    Evening sent(test::makeParty(u"FIRST", 9000, 1000, {{u"幹事チーム", 1}, {u"ゲスト 田中", 3}}));
    sent.current().calculation = Calculation::Rounded;
    sent.addRound();
    sent.organiser = MemberKey{u"幹事チーム", 1};
    sent.marks[MemberKey{u"ゲスト 田中", 3}] = Mark{3000, -3000};
    const ui::LinkPayload link = ui::eveningLinkPayload(sent);
    ASSERT_EQ(link.format, kEveningLinkFormat);

    windows_.onNextRun(res::kMainDialog, [&](FakeDialog& w) { w.command(id::main::kTakeShared); });
    EXPECT_TRUE(open(fragmentOf(link.payload, link.format)));
    EXPECT_EQ(host_.log, (std::vector<std::string>{"open", "forget"}));
    Evening own = Evening::create();
    ASSERT_TRUE(importFromPath(host_.own, own));
    EXPECT_EQ(test::describe(own), test::describe(sent));
    // The rounds carry their own calculations.
    EXPECT_EQ(start_.calculation, Calculation::None);
}

}  // namespace
}  // namespace ts::app
