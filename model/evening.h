#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/party.h"

namespace ts {

// Which calculation the user last asked for in a round. Once asked for, it
// runs again after every change of that round, so that the figures shown
// always belong to the data shown.
enum class Calculation { None, Plain, Rounded };

// One bill of the evening (一次会, 二次会, ...): a party as the program has
// always kept it, with the calculation last asked for and whether the
// shares, balances and remainder are results of the party as it stands.
struct Round {
    std::unique_ptr<Party> party;
    // The name the user gave the round; empty for the default name by
    // position (一次会 for the first). Names given when a round is added are
    // stored here.
    std::u16string title;
    Calculation calculation = Calculation::None;
    bool resultsCurrent = false;

    // Runs the calculation last asked for, if any, and keeps whether it
    // gave results; without results every figure goes back to 0, so that no
    // figure of earlier data stays beside the data shown. True when there
    // was nothing to run or it ran.
    bool recalculate();
};

// One member of a group across the evening: groups of the same name in
// different rounds are the same people, and member j (1, 2, ...) of a
// group attended a round when j <= the group's people in that round.
struct MemberKey {
    std::u16string group;
    std::int32_t member = 1;
    bool operator==(const MemberKey&) const = default;
    // By group, then member (spelt out: not every standard library the
    // program is built with orders strings by <=>).
    bool operator<(const MemberKey& other) const {
        return group != other.group ? group < other.group : member < other.member;
    }
};

// What the organiser has noted of one member's settlement: the amount
// received from them (or, for a refund, paid back to them), and the
// member's figure when it was noted, so that a figure that changed since
// can be shown with its difference.
struct Mark {
    std::int64_t amount = 0;  // yen, >= 0
    std::int64_t figure = 0;  // the member's figure then: < 0 pays, > 0 refund
    bool operator==(const Mark&) const = default;

    // Far beyond any figure (20 rounds of the int32 range are 11 digits),
    // and short enough that a mark's record keeps any group name a GROUP
    // record keeps.
    static constexpr std::int64_t kMaxAmount = 999'999'999'999;
    static constexpr std::int64_t kMaxFigure = 99'999'999'999;
    bool valid() const {
        return amount >= 0 && amount <= kMaxAmount && figure >= -kMaxFigure && figure <= kMaxFigure;
    }
    // 済: the whole figure has changed hands (received, or paid back).
    static Mark settledInFull(std::int64_t figure);
};

// The whole evening: 1 to kMaxRounds rounds, the one the screens act on,
// who the organiser is, where to pay them, and who has paid.
class Evening {
public:
    static constexpr int kMaxRounds = 20;
    // The longest 支払先 text, in UTF-16 units.
    static constexpr std::size_t kMaxPayeeUnits = 100;

    // One round holding `party`; null party gives an evening whose round
    // has no party (only when memory ran out: callers check ok()).
    explicit Evening(std::unique_ptr<Party> party);
    // A first round named "FIRST" with the defaults; ok() is false when
    // memory ran out.
    static Evening create();

    bool ok() const;

    int roundCount() const;
    // Rounds by index, 0 for the first; out of range: null.
    Round* roundAt(int index);
    const Round* roundAt(int index) const;

    // The round the list, the totals line and every command act on.
    int currentIndex() const { return current_; }
    // Out of range: nothing changes.
    void setCurrent(int index);
    Round& current();
    const Round& current() const;
    Party& party() { return *current().party; }
    const Party& party() const { return *current().party; }

    // The round's name as shown: its title, or the default name for its
    // position (一次会, 二次会, ... 二十次会).
    std::u16string roundName(int index) const;
    static std::u16string defaultRoundName(int position);  // 0 -> 一次会
    // Renames a round; an empty name brings back the default one.
    void setRoundTitle(int index, std::u16string_view title);

    // Adds a round after the last: a copy of the current round's groups
    // (names, people, ratios) with advances 0, total 0, the current round's
    // unit and no calculation, named by the first default name from its
    // position on that no other round has; it becomes the current round.
    // False (nothing changes) at kMaxRounds or when memory runs out.
    bool addRound();
    // Removes a round; the only round cannot be removed (false). The
    // current round stays the one it was, or the one before a removed
    // current round.
    bool removeRound(int index);

    // Runs every round's calculation again (after a load); false when one
    // that was asked for could not run.
    bool recalculateAll();

    // Adds a round as it stands after the last (a stored round), without
    // changing the current one; false (nothing changes) at kMaxRounds or
    // for a round without a party.
    bool appendRound(Round round);

    // The organiser (幹事): a member of a group, or none when the organiser
    // is outside the groups.
    std::optional<MemberKey> organiser;
    // Where the members pay the organiser (a PayPay ID, a bank account):
    // typed once, stored with the evening, never sent anywhere but in the
    // reminder text. At most kMaxPayeeUnits units.
    std::u16string payee;
    // Marks by member.
    std::map<MemberKey, Mark> marks;

    // True when the evening is what the program kept before it had rounds:
    // one round with the default name, no organiser, no 支払先 and no
    // marks. Such an evening is stored, linked and shown exactly as a
    // single party.
    bool isSingleParty() const;

private:
    std::vector<Round> rounds_;
    int current_ = 0;
};

}  // namespace ts
