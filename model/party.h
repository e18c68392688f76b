#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/entry.h"
#include "model/group.h"

namespace ts {

// The whole bill: its name, total, rounding unit, the remainder the last
// calculation left, and the ordered groups it owns. The group order is the
// order of the list rows, of the file records and of the calculation.
class Party final : public Entry {
public:
    explicit Party(std::u16string name) : Entry(std::move(name)) {}
    ~Party() { clearGroups(); }
    Party(const Party&) = delete;
    Party& operator=(const Party&) = delete;

    // Creates a party with the defaults; null when memory runs out.
    static std::unique_ptr<Party> create(std::u16string_view name) noexcept;

    // Takes ownership, sets the group's parent and appends it. A null group
    // is ignored.
    void addGroup(std::unique_ptr<Group> group);
    // Destroys the group at `index`; later groups move up. Out of range: no-op.
    void removeGroupAt(int index);
    // Destroys every group in list order, then empties the list.
    void clearGroups();

    int groupCount() const;
    // The group at `index`, or null when the index is out of range.
    Group* groupAt(int index) const;

    // The party's one iteration position. Walks must not nest.
    Group* first();  // null without groups
    Group* next();   // null once past the last group
    bool atEnd() const;

    // Sums over all groups, computed wide and clamped to the int32 range.
    std::int32_t totalPeople() const;
    std::int32_t totalAdvance() const;  // sum of people * advance

    // Splits the total over all members; see model/calculation.cpp. False
    // when nothing could be calculated (no groups, or every group has no
    // people or a ratio of 0); every value then stays as it was.
    bool calculate(bool rounded);
    // Puts every share and balance and the remainder back to 0, as they are
    // before any calculation.
    void clearResults();

    std::int32_t total = 0;
    std::int32_t unit = 100;
    std::int32_t remainder = 0;

private:
    std::vector<std::unique_ptr<Group>> groups_;
    std::size_t cursor_ = 0;
};

}  // namespace ts
