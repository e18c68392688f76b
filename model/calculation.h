#pragma once

#include <cstdint>

namespace ts {

// The double nearest to 0.01 (bit pattern 0x3F847AE147AE147B).
inline constexpr double kPercent = 0.01;

// Rounds the magnitude of v to a multiple of the step t, keeping the sign:
// up when `down` is false, down when it is true. Exact multiples and zero
// come back unchanged.
double roundToUnit(double v, double t, bool down);

// Truncates toward zero and saturates at the int32 range; NaN gives 0.
std::int32_t truncToInt32(double v);

}  // namespace ts
