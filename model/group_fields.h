#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/group.h"

// What a group holds, field by field: the one description that the
// settings file's GROUP record, a link's records, the CSV file and the
// group list's columns (res::kColumns) are written and read from. A field
// added to Group is added here, once.
namespace ts {

enum class GroupField { Name, People, Ratio, Advance, Share, Balance };

struct GroupFieldSpec {
    GroupField field;
    // The name the page, its style sheet and the browser tests know the
    // field by (ASCII).
    std::string_view id;
    // The value, for every field but the name.
    std::int32_t Group::*value;
    // Kept in the settings file and carried by a link; the others are what
    // a calculation writes.
    bool stored;
};

// In the order of the GROUP record (the name, then the other stored
// fields), then the calculation's results.
inline constexpr std::array<GroupFieldSpec, 6> kGroupFields{{
    {GroupField::Name, "name", nullptr, true},
    {GroupField::People, "people", &Group::people, true},
    {GroupField::Ratio, "ratio", &Group::ratio, true},
    {GroupField::Advance, "advance", &Group::advance, true},
    {GroupField::Share, "share", &Group::share, false},
    {GroupField::Balance, "balance", &Group::balance, false},
}};

constexpr const GroupFieldSpec& groupField(GroupField field) {
    return kGroupFields[static_cast<std::size_t>(field)];
}

// The stored fields are the first ones of the table, the name first.
inline constexpr int kStoredGroupFields = static_cast<int>(std::count_if(
    kGroupFields.begin(), kGroupFields.end(), [](const auto& f) { return f.stored; }));

namespace detail {
constexpr bool groupFieldsInOrder() {
    for (std::size_t i = 0; i < kGroupFields.size(); ++i) {
        const GroupFieldSpec& row = kGroupFields[i];
        const bool inItsPlace = static_cast<std::size_t>(row.field) == i;
        const bool storedFirst = row.stored == (static_cast<int>(i) < kStoredGroupFields);
        const bool numberUnlessName = (row.field == GroupField::Name) == (row.value == nullptr);
        if (!inItsPlace || !storedFirst || !numberUnlessName || row.id.empty()) {
            return false;
        }
    }
    return kGroupFields[0].field == GroupField::Name;
}
}  // namespace detail
static_assert(detail::groupFieldsInOrder(),
              "kGroupFields: one row per GroupField in its order, the stored fields first "
              "(the name first of all), a value for every field but the name");

}  // namespace ts
