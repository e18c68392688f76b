#pragma once

#include "platform/window_system.h"

namespace ts {
class Party;
}  // namespace ts

// The total dialog (template 104): the party's total and rounding unit.
namespace ts::ui {

// Fills the unit list and shows the total and the unit.
void fillTotalFields(platform::Dialog& dialog, const Party& party);
// Tests both fields, showing the first failure's message; on success
// stores them into the party.
bool storeTotalFields(platform::Dialog& dialog, Party& party);

class TotalDialog {
public:
    explicit TotalDialog(Party& party) : party_(party) {}
    void handle(platform::Dialog& dialog, const platform::Message& message);
    platform::DialogProc procedure();

private:
    Party& party_;
};

// Runs the total dialog owned by `owner`; always returns 1.
int runTotalDialog(platform::Dialog& owner, Party& party);

}  // namespace ts::ui
