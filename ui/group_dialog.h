#pragma once

#include <cstdint>
#include <memory>

#include "platform/window_system.h"

namespace ts {
class Group;
class Party;
}  // namespace ts

// The group settings dialog (template 103): adds a group or changes one.
namespace ts::ui {

enum class GroupDialogMode { Add = 1, Change = 2 };

// The value of a number field; false when it is empty, not all digits or
// past the int32 range.
bool readNumberField(platform::Dialog& dialog, int fieldId, std::int32_t& value);
void writeNumberField(platform::Dialog& dialog, int fieldId, std::int32_t value);
// Reads the arrows' position: below 10 steps up while `current` is below
// `upper`, above 10 steps down while it is above `lower`. True and the new
// value when a step was made (a step past the int32 range is not made).
bool stepValue(platform::Dialog& dialog, int arrowsId, std::int32_t step, std::int32_t lower,
               std::int32_t upper, std::int32_t current, std::int32_t& newValue);

void fillGroupFields(platform::Dialog& dialog, const Group& group);
// Tests the four fields in order, showing the first failure's message; on
// success stores them into `group`.
bool storeGroupFields(platform::Dialog& dialog, Group& group);

class GroupDialog {
public:
    // In change mode `row` is the index of the group to edit.
    GroupDialog(Party& party, GroupDialogMode mode, int row);
    ~GroupDialog();
    GroupDialog(const GroupDialog&) = delete;
    GroupDialog& operator=(const GroupDialog&) = delete;

    // The dialog procedure.
    void handle(platform::Dialog& dialog, const platform::Message& message);
    platform::DialogProc procedure();

    // The group the dialog shows and stores; null before opening or when no
    // new group could be created.
    Group* editedGroup() const;

private:
    void open(platform::Dialog& dialog);
    void accept(platform::Dialog& dialog);
    void cancel(platform::Dialog& dialog);
    void addAddend(platform::Dialog& dialog);
    void scroll(platform::Dialog& dialog, int controlId);

    Party& party_;
    GroupDialogMode mode_;
    int row_;
    std::unique_ptr<Group> newGroup_;  // add mode: owned until OK
    Group* edited_ = nullptr;
};

// Runs the group settings dialog owned by `owner`; always returns 1.
int runGroupDialog(platform::Dialog& owner, Party& party, GroupDialogMode mode, int row);

}  // namespace ts::ui
