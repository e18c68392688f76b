#include "model/entry.h"

namespace ts {

// A bare entry has nothing to store and nothing to read.
void Entry::save(TextFile& /*file*/) {}
void Entry::load(TextFile& /*file*/) {}

}  // namespace ts
