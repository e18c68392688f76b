#pragma once

#include <string>

#include "platform/window_system.h"

namespace ts {
class Evening;
}  // namespace ts

// The dialog that renames a round of the evening (template 106): one name
// field, OK and CANCEL.
namespace ts::ui {

// Runs the dialog for round `index`, owned by `owner`. On OK the name is
// tested as a group's name is (not empty, fits the settings file) and
// against the other rounds' names (each round's name is its own); a name
// that passes renames the round. True when the round was renamed.
bool runRoundNameDialog(platform::Dialog& owner, Evening& evening, int index);

}  // namespace ts::ui
