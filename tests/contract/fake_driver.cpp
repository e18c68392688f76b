// The contract against the scripted stand-in that the logic tests use, and
// the core's own rules that only a template of the test's own can show.
#include <new>

#include "resources/dialog_template.h"
#include "tests/contract/window_system_contract.h"
#include "tests/support/fake_window_system.h"

namespace ts::test {
namespace {

using platform::Dialog;

class FakeDriver final : public WindowSystemDriver {
public:
    int run(int templateId, platform::DialogProc proc, std::function<void(Dialog&)> user) override {
        windows_.onNextRun(templateId, [user](FakeDialog& dialog) {
            if (!dialog.ended()) {
                user(dialog);
                dialog.endDialog(-99);
            }
        });
        return windows_.runModal(templateId, std::move(proc));
    }

    void click(Dialog& dialog, int id) override { fake(dialog).command(id); }
    void pressUpArrow(Dialog& dialog, int id) override { fake(dialog).clickUp(id); }
    void pressDownArrow(Dialog& dialog, int id) override { fake(dialog).clickDown(id); }
    void pasteInto(Dialog& dialog, int id, std::u16string_view text) override {
        fake(dialog).items[id].clear();
        fake(dialog).carets[id] = 0;
        fake(dialog).paste(id, text);
    }

    void choose(Dialog& dialog, int id, int index) override { fake(dialog).choose(id, index); }

    std::u16string shownText(Dialog& dialog, int id) override { return fake(dialog).items[id]; }
    std::u16string spokenName(Dialog& dialog, int id) override {
        return fake(dialog).spokenNames[id];
    }
    std::vector<std::u16string> choices(Dialog& dialog, int id) override {
        return fake(dialog).comboEntries[id];
    }
    std::vector<std::u16string> columns(Dialog& dialog, int /*id*/) override {
        std::vector<std::u16string> titles;
        for (const auto& column : fake(dialog).list.columns) {
            titles.push_back(column.title);
        }
        return titles;
    }
    std::vector<std::vector<std::u16string>> rows(Dialog& dialog, int /*id*/) override {
        return fake(dialog).list.rows;
    }

private:
    static FakeDialog& fake(Dialog& dialog) { return static_cast<FakeDialog&>(dialog); }

    FakeWindowSystem windows_;
};

INSTANTIATE_TEST_SUITE_P(Fake, WindowSystemContract, ::testing::Values(DriverFactory([] {
                             return std::unique_ptr<WindowSystemDriver>(new FakeDriver);
                         })));

// Two controls with one id: the first in the template is the one every
// call reaches, with the rules of its kind.
TEST(DialogCore, TheFirstControlWithAnIdWins) {
    using K = res::ControlKind;
    const res::ControlTemplate controls[] = {
        {res::kNoId, K::Static, 0, 0, 10, 8, u"label", res::kNoStyle},
        {7, K::UpDown, 0, 0, 9, 14, u"", res::kNoStyle, u"arrows"},
        {7, K::Edit, 0, 0, 40, 14, u"field", res::kTabStop, u"a field"},
        {8, K::Edit, 0, 0, 40, 14, u"other", res::kTabStop},
    };
    const res::DialogTemplate layout{900, u"test", 100, 50, u"", 9, true, controls};
    FakeWindowSystem windows;
    windows.onNextRun(900, [](FakeDialog& dialog) {
        EXPECT_EQ(dialog.itemText(7), u"");
        EXPECT_EQ(dialog.itemText(8), u"other");
        EXPECT_EQ(dialog.itemText(res::kNoId), u"");
        dialog.setUpDownPosition(7, 4);
        EXPECT_EQ(dialog.upDownPosition(7), 4);
        EXPECT_EQ(dialog.spokenNames[7], u"arrows");
        dialog.endDialog(1);
    });
    EXPECT_EQ(windows.runTemplate(layout, [](Dialog&, const platform::Message&) {}), 1);
}

// Storage that runs out in a procedure ends the program through the window
// system, which is told once; the procedure hears nothing more.
TEST(DialogCore, OutOfMemoryInAProcedureEndsTheProgram) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "this build catches no exceptions; the page ends at the failed allocation";
#endif
    FakeWindowSystem windows;
    int heard = 0;
    EXPECT_THROW(windows.runModal(res::kTotalDialog,
                                  [&](Dialog&, const platform::Message&) {
                                      ++heard;
                                      throw std::bad_alloc();
                                  }),
                 std::bad_alloc);
    EXPECT_EQ(windows.outOfMemoryEnds, 1);
    EXPECT_EQ(heard, 1);
}

}  // namespace
}  // namespace ts::test
