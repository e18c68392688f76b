// The share calculation. Every intermediate is an IEEE 754 double and the
// order of the operations below is part of the result: the rounding steps use
// ceil and floor, so a mathematically equal order can move a value by a whole
// step. This file is compiled with -ffp-contract=off so that no multiply-add
// is ever fused.
#include "model/calculation.h"

#include <cmath>
#include <limits>

#include "model/party.h"

namespace ts {

double roundToUnit(double v, double t, bool down) {
    const double magnitude = std::fabs(v);
    const double q = magnitude / t;
    const double n = down ? std::floor(q) : std::ceil(q);
    const double r = magnitude - n * t;
    if (!(std::fabs(r) > 0.0)) {
        // An exact multiple (zero included) comes back as it is.
        return v;
    }
    return (v / magnitude) * n * t;
}

std::int32_t truncToInt32(double v) {
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (std::isnan(v)) {
        return 0;
    }
    if (v >= kMax) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (v <= kMin) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(v);  // truncates toward zero
}

bool Party::calculate(bool rounded) {
    if (groupCount() == 0) {
        return false;
    }
    // A unit of 0 or below cannot be a rounding step: round to whole yen then.
    const double step = rounded && unit > 0 ? static_cast<double>(unit) : 1.0;

    double weight = 0.0;
    for (Group* g = first(); !atEnd(); g = next()) {
        weight = ((g->ratio * kPercent) * g->people) + weight;
    }
    const double base = total / weight;
    if (!std::isfinite(base)) {
        // No weight (every ratio or head count is 0): there is nothing to
        // split the total by, so every value stays as it was.
        return false;
    }

    double paid = 0.0;
    double keptBack = 0.0;
    for (Group* g = first(); !atEnd(); g = next()) {
        const double exact = (g->ratio * kPercent) * base;
        const double share = roundToUnit(exact, step, false);
        const double surplus = g->advance - share;
        // A refund is rounded down, a payment up in magnitude.
        const double balance = roundToUnit(surplus, step, !(surplus < 0.0));
        g->share = truncToInt32(share);
        g->balance = truncToInt32(balance);
        paid = (share * g->people) + paid;
        keptBack = (surplus - balance) + keptBack;
    }
    remainder = truncToInt32((paid - total) + keptBack);
    return true;
}

void Party::clearResults() {
    for (const auto& group : groups_) {
        group->share = 0;
        group->balance = 0;
    }
    remainder = 0;
}

}  // namespace ts
