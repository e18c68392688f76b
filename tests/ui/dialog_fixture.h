#pragma once

#include <functional>
#include <memory>
#include <string>

#include "model/party.h"
#include "resources/dialog_template.h"
#include "tests/support/fake_window_system.h"

namespace ts::ui {

// A main window that owns the dialogs under test, and a party with one group.
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

    // Queues `script` for the next run of `templateId`; it also records
    // how that run ended.
    void script(int templateId, std::function<void(test::FakeDialog&)> body) {
        system.onNextRun(templateId, [this, body = std::move(body)](test::FakeDialog& dialog) {
            body(dialog);
            ended = dialog.ended;
            result = dialog.result;
        });
    }

    std::vector<std::u16string> messages() const {
        std::vector<std::u16string> out;
        for (const auto& box : system.messageBoxes) {
            out.push_back(box.text);
        }
        return out;
    }

    test::FakeWindowSystem system;
    test::FakeDialog owner{system, res::kMainDialog,
                           [](platform::Dialog&, const platform::Message&) {}};
    Party party{u"FIRST"};
    bool ended = false;
    int result = 0;
};

}  // namespace ts::ui
