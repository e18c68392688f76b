#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/evening.h"

// One settlement for the whole evening: every member settles once with the
// organiser (幹事), who collects from everyone, pays every refund, paid the
// venues and keeps what rounding leaves.
namespace ts {

// One round's 差引額 for a class, as the list of that round shows it.
struct SettlementPart {
    int round = 0;             // index in the evening
    std::int32_t balance = 0;  // < 0 pays, > 0 refund
    bool operator==(const SettlementPart&) const = default;
};

// Members of one group who attended the same rounds: members
// firstMember..lastMember of the group (1-based). Each of them settles
// `figure`, the sum of the group's balance over the rounds attended.
struct SettlementClass {
    std::u16string group;
    std::int32_t firstMember = 1;
    std::int32_t lastMember = 1;
    std::vector<SettlementPart> parts;  // one per attended round, in round order
    std::int64_t figure = 0;            // < 0 pays the organiser, > 0 refunded

    std::int32_t people() const { return lastMember - firstMember + 1; }
    bool operator==(const SettlementClass&) const = default;
};

// Where one member stands with the organiser. The organiser's own member
// has nothing outstanding.
struct MemberStatus {
    std::int64_t figure = 0;       // what they settle, as above
    std::int64_t settled = 0;      // what the marks say has changed hands
    std::int64_t outstanding = 0;  // still to collect (pays) or to pay back (refund), >= 0
    // More changed hands than today's figure asks for (the figure fell, or
    // turned the other way, since the mark): to go back the other way, >= 0.
    std::int64_t overpaid = 0;
    bool marked = false;
    // The figure noted with the mark differs from today's: figure - mark.figure.
    std::optional<std::int64_t> changedBy;
};

// Money still to change hands: to collect from members, to pay back to them.
struct Outstanding {
    std::int64_t toCollect = 0;
    std::int64_t toPayBack = 0;
    bool operator==(const Outstanding&) const = default;
};

struct Settlement {
    enum class State {
        Ready,
        // Some rounds have no results (uncalculatedRounds); no figures.
        NotCalculated,
        // One round has two groups of one name, so who is who across the
        // rounds cannot be told (duplicateName, duplicateRound); no figures.
        DuplicateNames,
        // The evening's sums leave the range of 64-bit yen (only absurd
        // numbers of people or amounts get there); no figures.
        TooLarge,
    };
    // When rounds are not calculated and one also has two groups of one
    // name, the state is NotCalculated and both are filled in. Only a
    // Ready settlement has classes and figures.
    State state = State::Ready;
    std::vector<int> uncalculatedRounds;
    std::u16string duplicateName;
    int duplicateRound = -1;

    // By group name, then by first member: the same evening gives the same
    // plan whatever the order of its groups.
    std::vector<SettlementClass> classes;

    // The organiser's member, when it is one of the classes' members.
    std::optional<MemberKey> organiser;
    // The organiser's own figure: settled with themselves, no transfer.
    std::int64_t organiserFigure = 0;

    // Per round: the venue's total, the advances the members put in, and
    // what that round leaves with the organiser once every balance is
    // settled (advances - total - sum of every member's balance); that can
    // differ from the remainder the round's calculation shows.
    struct RoundMoney {
        std::int64_t total = 0;
        std::int64_t advances = 0;
        std::int64_t kept = 0;
        std::int32_t shownRemainder = 0;
        bool operator==(const RoundMoney&) const = default;
    };
    std::vector<RoundMoney> rounds;
    // Sum of the rounds' kept: what the organiser keeps in the end.
    std::int64_t organiserKeeps = 0;

    // Transfers between the members and the organiser: what the members
    // other than the organiser pay in, and what is paid back to them.
    std::int64_t collected = 0;
    std::int64_t paidBack = 0;

    bool operator==(const Settlement&) const = default;
};

// The settlement of the evening as it stands. Money is conserved:
// advances + collected - paidBack - totals == organiserKeeps + organiserFigure.
Settlement settle(const Evening& evening);

// Where member `member` of `cls` stands, with the evening's marks.
MemberStatus memberStatus(const Evening& evening, const SettlementClass& cls, std::int32_t member);

// What is still outstanding for the members of one class, and for the whole
// plan (nothing unless it is Ready). Sums hold at the int64 range.
Outstanding outstanding(const Evening& evening, const SettlementClass& cls);
Outstanding outstanding(const Evening& evening, const Settlement& settlement);

}  // namespace ts
