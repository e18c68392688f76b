#include "model/party.h"

#include <algorithm>
#include <limits>
#include <new>

namespace ts {

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// Adds without overflowing: a sum past the int64 range sticks at its end,
// which is far outside the int32 range the result is clamped to anyway.
std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<std::int64_t>::max()
                     : std::numeric_limits<std::int64_t>::min();
    }
    return sum;
}

std::int32_t clampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp(value, kInt32Min, kInt32Max));
}

}  // namespace

std::unique_ptr<Group> Group::create(std::u16string_view name) noexcept {
    try {
        return std::make_unique<Group>(std::u16string(name));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<Party> Party::create(std::u16string_view name) noexcept {
    try {
        return std::make_unique<Party>(std::u16string(name));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void Party::addGroup(std::unique_ptr<Group> group) {
    if (!group) {
        return;
    }
    group->parent_ = this;
    groups_.push_back(std::move(group));
}

void Party::removeGroupAt(int index) {
    if (index < 0 || index >= groupCount()) {
        return;
    }
    groups_.erase(groups_.begin() + index);
}

void Party::clearGroups() {
    for (auto& group : groups_) {
        group.reset();
    }
    groups_.clear();
    cursor_ = 0;
}

int Party::groupCount() const {
    // The list rows address groups with int; more groups than that cannot be
    // shown, stored or loaded.
    return static_cast<int>(std::min<std::size_t>(groups_.size(), std::numeric_limits<int>::max()));
}

Group* Party::groupAt(int index) const {
    if (index < 0 || index >= groupCount()) {
        return nullptr;
    }
    return groups_[static_cast<std::size_t>(index)].get();
}

Group* Party::first() {
    cursor_ = 0;
    return groups_.empty() ? nullptr : groups_.front().get();
}

Group* Party::next() {
    if (cursor_ < groups_.size()) {
        ++cursor_;
    }
    return atEnd() ? nullptr : groups_[cursor_].get();
}

bool Party::atEnd() const {
    return cursor_ >= groups_.size();
}

std::int32_t Party::totalPeople() const {
    std::int64_t sum = 0;
    for (const auto& group : groups_) {
        sum = saturatingAdd(sum, group->people);
    }
    return clampToInt32(sum);
}

std::int32_t Party::totalAdvance() const {
    std::int64_t sum = 0;
    for (const auto& group : groups_) {
        // The product of two int32 values always fits in int64.
        sum = saturatingAdd(sum, std::int64_t{group->people} * group->advance);
    }
    return clampToInt32(sum);
}

}  // namespace ts
