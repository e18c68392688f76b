#include "ui/round_dialog.h"

#include <algorithm>

#include "model/evening.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "resources/texts.h"
#include "storage/settings_file.h"
#include "ui/error_box.h"

namespace ts::ui {

namespace {

// A round's name takes the room a group's name has in the settings file.
constexpr int kNameFieldLimit = static_cast<int>(kGroupNameRoom);

// The first failure of `name` as round `index`'s name, or empty.
std::u16string_view refusal(const Evening& evening, int index, const std::u16string& name) {
    if (name.empty()) {
        return text::kNeedRoundName;
    }
    if (storedNameWidth(name) > kGroupNameRoom) {
        return text::kNameTooLong;
    }
    for (int other = 0; other < evening.roundCount(); ++other) {
        if (other != index && evening.roundName(other) == name) {
            return text::kRoundNameTaken;
        }
    }
    return {};
}

}  // namespace

bool runRoundNameDialog(platform::Dialog& owner, Evening& evening, int index) {
    bool renamed = false;
    owner.runModal(res::kRoundNameDialog, [&](platform::Dialog& dialog,
                                              const platform::Message& message) {
        if (message.kind == platform::Message::Kind::InitDialog) {
            const std::u16string name = evening.roundName(index);
            dialog.limitText(id::round::kNameField,
                             std::max(kNameFieldLimit, static_cast<int>(name.size())));
            dialog.setItemText(id::round::kNameField, name);
            return;
        }
        if (message.kind != platform::Message::Kind::Command) {
            return;
        }
        switch (message.id) {
            case id::kOk: {
                const std::u16string name = dialog.itemText(id::round::kNameField);
                if (const std::u16string_view why = refusal(evening, index, name); !why.empty()) {
                    showError(dialog, why);
                    return;
                }
                evening.setRoundTitle(index, name);
                renamed = true;
                dialog.endDialog(1);
                return;
            }
            case id::kCancel:
            case id::kCancelCommand:
                dialog.endDialog(1);
                return;
            default:
                return;
        }
    });
    return renamed;
}

}  // namespace ts::ui
