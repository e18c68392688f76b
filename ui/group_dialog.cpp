#include "ui/group_dialog.h"

#include <algorithm>
#include <limits>
#include <string>

#include "model/group.h"
#include "model/party.h"
#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "resources/texts.h"
#include "storage/settings_file.h"
#include "storage/text.h"
#include "ui/error_box.h"
#include "ui/numbers.h"

namespace ts::ui {

namespace {

// The arrows rest at this position; a click moves it by one, and every scroll
// message puts it back, so one click steps at most once.
constexpr int kArrowsRest = 10;

struct Arrows {
    int arrowsId;
    int fieldId;
    std::int32_t step;
    std::int32_t lower;
    std::int32_t upper;
};

constexpr Arrows kPeopleArrows{id::group::kPeopleArrows, id::group::kPeopleField, 1, 1, 999};
constexpr Arrows kRatioArrows{id::group::kRatioArrows, id::group::kRatioField, 10, 0, 100};

// The name field takes as many units as a GROUP record always stores whole,
// whatever the group's numbers: a name of that many units without quote
// characters survives a save and a load. Quote characters take two units in
// the record, so OK refuses a name whose record width is past the room.
constexpr int kNameFieldLimit = static_cast<int>(kGroupNameRoom);

bool fitsInt32(std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() &&
           value <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

bool readNumberField(platform::Dialog& dialog, int fieldId, std::int32_t& value) {
    const auto parsed = digitsValue(dialog.itemText(fieldId));
    if (!parsed) {
        return false;
    }
    value = *parsed;
    return true;
}

void writeNumberField(platform::Dialog& dialog, int fieldId, std::int32_t value) {
    dialog.setItemText(fieldId, decimalText(value));
}

bool stepValue(platform::Dialog& dialog, int arrowsId, std::int32_t step, std::int32_t lower,
               std::int32_t upper, std::int32_t current, std::int32_t& newValue) {
    // The up arrow lowers the position below the rest, the down arrow raises it.
    const int position = dialog.upDownPosition(arrowsId);
    std::int64_t next = current;
    if (position < kArrowsRest && current < upper) {
        next += step;
    } else if (position > kArrowsRest && current > lower) {
        next -= step;
    } else {
        return false;
    }
    // The bound is checked before the step and the result is not clamped to
    // it, but a result outside int32 is never made.
    if (!fitsInt32(next)) {
        return false;
    }
    newValue = static_cast<std::int32_t>(next);
    return true;
}

void fillGroupFields(platform::Dialog& dialog, const Group& group) {
    dialog.setItemText(id::group::kNameField, group.name());
    writeNumberField(dialog, id::group::kPeopleField, group.people);
    writeNumberField(dialog, id::group::kRatioField, group.ratio);
    writeNumberField(dialog, id::group::kAdvanceField, group.advance);
}

bool storeGroupFields(platform::Dialog& dialog, Group& group) {
    const std::u16string name = dialog.itemText(id::group::kNameField);
    const std::u16string peopleText = dialog.itemText(id::group::kPeopleField);
    const std::u16string ratioText = dialog.itemText(id::group::kRatioField);
    const std::u16string advanceText = dialog.itemText(id::group::kAdvanceField);

    // One message per press, in this order; nothing is stored until all pass.
    const std::pair<const std::u16string*, std::u16string_view> required[] = {
        {&name, text::kNeedName},
        {&peopleText, text::kNeedPeople},
        {&ratioText, text::kNeedRatio},
        {&advanceText, text::kNeedAdvance},
    };
    for (const auto& [field, message] : required) {
        if (field->empty()) {
            showError(dialog, message);
            return false;
        }
    }
    // Digits whose value does not fit int32 are refused like any non-number.
    const auto people = digitsValue(peopleText);
    const auto ratio = digitsValue(ratioText);
    const auto advance = digitsValue(advanceText);
    if (!people || !ratio || !advance) {
        showError(dialog, text::kNeedNumber);
        return false;
    }
    if (*people == 0) {
        showError(dialog, text::kPeopleAtLeastOne);
        return false;
    }
    if (*ratio > 100 || *ratio < 0) {
        showError(dialog, text::kRatioRange);
        return false;
    }
    // The settings file would have to cut a longer name.
    if (storedNameWidth(name) > kGroupNameRoom) {
        showError(dialog, text::kNameTooLong);
        return false;
    }
    group.setName(name);
    group.people = *people;
    group.ratio = *ratio;
    group.advance = *advance;
    return true;
}

GroupDialog::GroupDialog(Party& party, GroupDialogMode mode, int row)
    : party_(party), mode_(mode), row_(row) {}

// A new group that neither OK nor CANCEL disposed of goes with the dialog.
GroupDialog::~GroupDialog() = default;

Group* GroupDialog::editedGroup() const {
    return edited_;
}

platform::DialogProc GroupDialog::procedure() {
    return [this](platform::Dialog& dialog, const platform::Message& message) {
        handle(dialog, message);
    };
}

void GroupDialog::handle(platform::Dialog& dialog, const platform::Message& message) {
    switch (message.kind) {
        case platform::Message::Kind::InitDialog:
            open(dialog);
            break;
        case platform::Message::Kind::Command:
            switch (message.id) {
                case id::kOk:
                    accept(dialog);
                    break;
                case id::kCancel:
                case id::kCancelCommand:
                    cancel(dialog);
                    break;
                case id::group::kAddAddend:
                    addAddend(dialog);
                    break;
                default:
                    break;
            }
            break;
        case platform::Message::Kind::VScroll:
            scroll(dialog, message.id);
            break;
        case platform::Message::Kind::ContextMenu:
        case platform::Message::Kind::Copy:
        case platform::Message::Kind::Help:
        case platform::Message::Kind::SessionEnd:
            break;
    }
}

void GroupDialog::open(platform::Dialog& dialog) {
    dialog.setUpDownPosition(kPeopleArrows.arrowsId, kArrowsRest);
    dialog.setUpDownPosition(kRatioArrows.arrowsId, kArrowsRest);
    if (mode_ == GroupDialogMode::Add) {
        newGroup_ = Group::create(text::kNewGroupName);
        edited_ = newGroup_.get();
    } else {
        newGroup_.reset();
        edited_ = party_.groupAt(row_);
    }
    // A name stored before the limit existed may be longer; the field
    // shows it whole, and OK asks for it to be shortened.
    const std::size_t shown = edited_ != nullptr ? edited_->name().size() : 0;
    dialog.limitText(id::group::kNameField,
                     std::max(kNameFieldLimit, static_cast<int>(std::min<std::size_t>(
                                                   shown, platform::kMaxItemText))));
    // Without a group the fields stay empty.
    if (edited_ != nullptr) {
        fillGroupFields(dialog, *edited_);
    }
}

void GroupDialog::accept(platform::Dialog& dialog) {
    // No group to store into (it could not be created): close, changing nothing.
    if (edited_ == nullptr) {
        dialog.endDialog(1);
        return;
    }
    if (!storeGroupFields(dialog, *edited_)) {
        return;
    }
    if (mode_ == GroupDialogMode::Add) {
        party_.addGroup(std::move(newGroup_));
    }
    dialog.endDialog(1);
}

void GroupDialog::cancel(platform::Dialog& dialog) {
    if (mode_ == GroupDialogMode::Add) {
        newGroup_.reset();
        edited_ = nullptr;
    }
    dialog.endDialog(1);
}

void GroupDialog::addAddend(platform::Dialog& dialog) {
    const std::u16string addendText = dialog.itemText(id::group::kAddendField);
    if (addendText.empty()) {
        return;
    }
    const std::u16string advanceText = dialog.itemText(id::group::kAdvanceField);
    if (advanceText.empty()) {
        return;
    }
    const auto addend = digitsValue(addendText);
    const auto advance = digitsValue(advanceText);
    if (!addend || !advance) {
        return;
    }
    const std::int64_t sum = std::int64_t{*advance} + *addend;
    if (!fitsInt32(sum)) {
        return;
    }
    writeNumberField(dialog, id::group::kAdvanceField, static_cast<std::int32_t>(sum));
}

void GroupDialog::scroll(platform::Dialog& dialog, int controlId) {
    const Arrows* arrows = nullptr;
    if (controlId == kPeopleArrows.arrowsId) {
        arrows = &kPeopleArrows;
    } else if (controlId == kRatioArrows.arrowsId) {
        arrows = &kRatioArrows;
    } else {
        return;
    }
    std::int32_t current = 0;
    std::int32_t next = 0;
    if (readNumberField(dialog, arrows->fieldId, current) &&
        stepValue(dialog, arrows->arrowsId, arrows->step, arrows->lower, arrows->upper, current,
                  next)) {
        writeNumberField(dialog, arrows->fieldId, next);
    }
    dialog.setUpDownPosition(arrows->arrowsId, kArrowsRest);
}

int runGroupDialog(platform::Dialog& owner, Party& party, GroupDialogMode mode, int row) {
    GroupDialog dialog(party, mode, row);
    owner.runModal(res::kGroupDialog, dialog.procedure());
    return 1;
}

}  // namespace ts::ui
