#include "ui/total_dialog.h"

#include <cstddef>
#include <string>

#include "model/party.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "resources/tables.h"
#include "resources/texts.h"
#include "storage/text.h"
#include "ui/error_box.h"
#include "ui/numbers.h"

namespace ts::ui {

void fillTotalFields(platform::Dialog& dialog, const Party& party) {
    for (std::size_t position = 0; position < res::kUnitChoices.size(); ++position) {
        dialog.insertComboEntry(id::total::kUnitCombo, static_cast<int>(position),
                                res::kUnitChoices[position]);
    }
    dialog.setItemText(id::total::kTotalField, decimalText(party.total));
    dialog.setItemText(id::total::kUnitCombo, decimalText(party.unit));
}

bool storeTotalFields(platform::Dialog& dialog, Party& party) {
    const std::u16string totalText = dialog.itemText(id::total::kTotalField);
    const std::u16string unitText = dialog.itemText(id::total::kUnitCombo);
    if (totalText.empty()) {
        showError(dialog, text::kNeedTotal);
        return false;
    }
    if (unitText.empty()) {
        showError(dialog, text::kNeedUnit);
        return false;
    }
    // Digits past the int32 range are refused like any non-number. Any unit
    // is taken, also 0 or one that is not among the choices.
    const auto total = digitsValue(totalText);
    const auto unit = digitsValue(unitText);
    if (!total || !unit) {
        showError(dialog, text::kNeedTotalNumbers);
        return false;
    }
    party.total = *total;
    party.unit = *unit;
    return true;
}

void TotalDialog::handle(platform::Dialog& dialog, const platform::Message& message) {
    if (message.kind == platform::Message::Kind::InitDialog) {
        fillTotalFields(dialog, party_);
        return;
    }
    if (message.kind != platform::Message::Kind::Command) {
        return;
    }
    switch (message.id) {
        case id::kOk:
            if (storeTotalFields(dialog, party_)) {
                dialog.endDialog(1);
            }
            break;
        case id::kCancel:
        case id::kCancelCommand:
            dialog.endDialog(1);
            break;
        case id::total::kTakeAdvances:
            // Only shown; OK stores it.
            dialog.setItemText(id::total::kTotalField, decimalText(party_.totalAdvance()));
            break;
        default:
            break;
    }
}

platform::DialogProc TotalDialog::procedure() {
    return [this](platform::Dialog& dialog, const platform::Message& message) {
        handle(dialog, message);
    };
}

int runTotalDialog(platform::Dialog& owner, Party& party) {
    TotalDialog dialog(party);
    owner.runModal(res::kTotalDialog, dialog.procedure());
    return 1;
}

}  // namespace ts::ui
