#pragma once

#include <cstdint>
#include <memory>

#include "model/entry.h"

namespace ts {

// A set of people who pay the same ratio of a full share and who each put in
// the same advance. `share` and `balance` are written by the calculation only.
class Group final : public Entry {
public:
    explicit Group(std::u16string name) : Entry(std::move(name)) {}
    ~Group() = default;
    Group(const Group&) = delete;
    Group& operator=(const Group&) = delete;

    // Creates a group with the defaults; null when memory runs out.
    static std::unique_ptr<Group> create(std::u16string_view name) noexcept;

    std::int32_t people = 1;
    std::int32_t ratio = 100;  // percent of a full share
    std::int32_t advance = 0;  // yen each member has already put in
    std::int32_t share = 0;    // yen each member owes
    std::int32_t balance = 0;  // advance - share after rounding; < 0 pay, > 0 refund
};

}  // namespace ts
