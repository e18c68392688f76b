#pragma once

#include <functional>
#include <memory>

#include "model/party.h"
#include "resources/dialog_template.h"
#include "tests/support/fake_window_system.h"

namespace ts::ui {

// A main window that owns the dialogs under test, and a party with one
// calculated group.
struct DialogFixture {
    DialogFixture() {
        auto group = std::make_unique<Group>(u"会社");
        group->people = 3;
        group->ratio = 50;
        group->advance = 1000;
        group->share = 3400;
        group->balance = -2400;
        party.addGroup(std::move(group));
        party.remainder = 7;
    }

    // Plays `body` in the next run of `templateId` and records how it ended.
    void script(int templateId, std::function<void(test::FakeDialog&)> body) {
        ended = false;
        result = 0;
        system.messageBoxes.clear();
        system.onNextRun(templateId, [this, body = std::move(body)](test::FakeDialog& dialog) {
            body(dialog);
            ended = dialog.ended();
            result = dialog.result();
        });
    }

    // The one error box a refused OK shows.
    void expectOneError(std::u16string_view text) const {
        ASSERT_EQ(system.messageBoxes.size(), 1u);
        EXPECT_EQ(system.messageBoxes[0].text, text);
        EXPECT_EQ(system.messageBoxes[0].caption, u"エラー");
        EXPECT_EQ(
            system.messageBoxes[0].style,
            (platform::MessageStyle{platform::MessageButtons::Ok, platform::MessageIcon::Warning}));
        EXPECT_FALSE(ended);
    }

    test::FakeWindowSystem system;
    test::FakeDialog owner{system, res::kMainDialog, {}};
    Party party{u"FIRST"};
    bool ended = false;
    int result = 0;
};

}  // namespace ts::ui
