#include "model/settlement.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>

namespace ts {

namespace {

constexpr std::int64_t kMaxMoney = std::numeric_limits<std::int64_t>::max();

// Sums that say when they left the int64 range instead of wrapping.
class CheckedSum {
public:
    void add(std::int64_t value) {
        if (__builtin_add_overflow(sum_, value, &sum_)) {
            ok_ = false;
        }
    }
    void addProduct(std::int64_t a, std::int64_t b) {
        std::int64_t product = 0;
        if (__builtin_mul_overflow(a, b, &product)) {
            ok_ = false;
            return;
        }
        add(product);
    }
    std::int64_t value() const { return sum_; }
    bool ok() const { return ok_; }

private:
    std::int64_t sum_ = 0;
    bool ok_ = true;
};

// Sums that hold at the end of the int64 range (the amounts are >= 0).
std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? kMaxMoney : sum;
}

std::int64_t saturatingProduct(std::int64_t a, std::int64_t b) {
    std::int64_t product = 0;
    return __builtin_mul_overflow(a, b, &product) ? kMaxMoney : product;
}

// People a group brings to a round: a count below 1 (only a file edited by
// hand holds one) is nobody.
std::int64_t membersOf(const Group& group) {
    return std::max<std::int32_t>(group.people, 0);
}

// One group name's attendance: its people and balance in every round (0
// people where the round has no group of that name).
struct Attendance {
    std::vector<std::int32_t> people;
    std::vector<std::int32_t> balance;
};

// The first round, by index, with two groups of one name, and the first
// such name in that round; false when there is none.
bool findDuplicate(const Evening& evening, int& round, std::u16string& name) {
    for (int r = 0; r < evening.roundCount(); ++r) {
        const Party& party = *evening.roundAt(r)->party;
        std::vector<std::u16string> names;
        names.reserve(static_cast<std::size_t>(party.groupCount()));
        for (int g = 0; g < party.groupCount(); ++g) {
            names.push_back(party.groupAt(g)->name());
        }
        std::sort(names.begin(), names.end());
        const auto twice = std::adjacent_find(names.begin(), names.end());
        if (twice != names.end()) {
            round = r;
            name = *twice;
            return true;
        }
    }
    return false;
}

// A member's net payment to the organiser that a mark notes: received from
// them, or (a mark noted on a refund) paid back to them.
std::int64_t paidIn(const Mark& mark) {
    return mark.figure > 0 ? -mark.amount : mark.amount;
}

// What the member still owes the organiser (> 0), or the organiser the
// member (< 0), after what the mark notes.
std::int64_t remaining(std::int64_t figure, const Mark* mark) {
    return -figure - (mark != nullptr ? paidIn(*mark) : 0);
}

void count(Outstanding& sum, std::int64_t remainingAmount, std::int64_t members) {
    if (remainingAmount > 0) {
        sum.toCollect = saturatingAdd(sum.toCollect, saturatingProduct(remainingAmount, members));
    } else if (remainingAmount < 0) {
        sum.toPayBack = saturatingAdd(sum.toPayBack, saturatingProduct(-remainingAmount, members));
    }
}

bool isOrganiser(const Evening& evening, const std::u16string& group, std::int32_t member) {
    return evening.organiser && evening.organiser->group == group &&
           evening.organiser->member == member;
}

}  // namespace

Settlement settle(const Evening& evening) {
    Settlement plan;
    for (int r = 0; r < evening.roundCount(); ++r) {
        const Round& round = *evening.roundAt(r);
        if (!round.party || !round.resultsCurrent) {
            plan.uncalculatedRounds.push_back(r);
        }
    }
    if (!plan.uncalculatedRounds.empty()) {
        plan.state = Settlement::State::NotCalculated;
    }
    if (evening.ok() && findDuplicate(evening, plan.duplicateRound, plan.duplicateName) &&
        plan.state == Settlement::State::Ready) {
        plan.state = Settlement::State::DuplicateNames;
    }
    if (plan.state != Settlement::State::Ready) {
        return plan;
    }

    // Who came to which round, by group name: the map's order makes the
    // plan the same whatever the order of the groups.
    const auto rounds = static_cast<std::size_t>(evening.roundCount());
    std::map<std::u16string, Attendance> byName;
    for (std::size_t r = 0; r < rounds; ++r) {
        const Party& party = *evening.roundAt(static_cast<int>(r))->party;
        for (int g = 0; g < party.groupCount(); ++g) {
            const Group& group = *party.groupAt(g);
            Attendance& attendance = byName[group.name()];
            attendance.people.resize(rounds, 0);
            attendance.balance.resize(rounds, 0);
            attendance.people[r] = static_cast<std::int32_t>(membersOf(group));
            attendance.balance[r] = group.balance;
        }
    }

    CheckedSum collected;
    CheckedSum paidBack;
    for (const auto& [name, attendance] : byName) {
        // Member j came to round r when j <= the group's people there, so
        // each distinct head count ends a class: the members above the
        // previous count came to exactly the rounds with at least this many.
        std::set<std::int32_t> counts(attendance.people.begin(), attendance.people.end());
        std::int32_t previous = 0;
        for (const std::int32_t count : counts) {
            if (count <= 0) {
                continue;
            }
            SettlementClass cls;
            cls.group = name;
            cls.firstMember = previous + 1;
            cls.lastMember = count;
            for (std::size_t r = 0; r < rounds; ++r) {
                if (attendance.people[r] >= count) {
                    cls.parts.push_back({static_cast<int>(r), attendance.balance[r]});
                    // At most kMaxRounds int32 values: far inside int64.
                    cls.figure += attendance.balance[r];
                }
            }
            std::int64_t others = cls.people();
            if (evening.organiser && evening.organiser->group == name &&
                evening.organiser->member >= cls.firstMember &&
                evening.organiser->member <= cls.lastMember) {
                plan.organiser = evening.organiser;
                plan.organiserFigure = cls.figure;
                --others;
            }
            if (cls.figure < 0) {
                collected.addProduct(-cls.figure, others);
            } else {
                paidBack.addProduct(cls.figure, others);
            }
            plan.classes.push_back(std::move(cls));
            previous = count;
        }
    }

    CheckedSum keeps;
    bool inRange = collected.ok() && paidBack.ok();
    for (std::size_t r = 0; r < rounds; ++r) {
        const Party& party = *evening.roundAt(static_cast<int>(r))->party;
        CheckedSum advances;
        CheckedSum balances;
        for (int g = 0; g < party.groupCount(); ++g) {
            const Group& group = *party.groupAt(g);
            advances.addProduct(membersOf(group), group.advance);
            balances.addProduct(membersOf(group), group.balance);
        }
        // What the organiser is left with once the venue is paid from the
        // advances (and by the organiser) and every balance is settled.
        CheckedSum kept;
        kept.add(advances.value());
        kept.add(-std::int64_t{party.total});
        if (balances.value() == std::numeric_limits<std::int64_t>::min()) {
            inRange = false;
        } else {
            kept.add(-balances.value());
        }
        inRange = inRange && advances.ok() && balances.ok() && kept.ok();
        keeps.add(kept.value());
        plan.rounds.push_back({party.total, advances.value(), kept.value(), party.remainder});
    }
    if (!inRange || !keeps.ok()) {
        Settlement tooLarge;
        tooLarge.state = Settlement::State::TooLarge;
        return tooLarge;
    }
    plan.organiserKeeps = keeps.value();
    plan.collected = collected.value();
    plan.paidBack = paidBack.value();
    return plan;
}

MemberStatus memberStatus(const Evening& evening, const SettlementClass& cls, std::int32_t member) {
    MemberStatus status;
    status.figure = cls.figure;
    const auto found = evening.marks.find(MemberKey{cls.group, member});
    const Mark* mark = found != evening.marks.end() ? &found->second : nullptr;
    if (mark != nullptr) {
        status.marked = true;
        status.settled = mark->amount;
        if (mark->figure != cls.figure) {
            status.changedBy = cls.figure - mark->figure;
        }
    }
    if (isOrganiser(evening, cls.group, member)) {
        return status;  // settled with themselves
    }
    const std::int64_t owes = remaining(cls.figure, mark);
    // Still due in the direction the figure goes; anything beyond it goes
    // back the other way.
    const std::int64_t due = cls.figure < 0 ? owes : -owes;
    if (cls.figure != 0 && due > 0) {
        status.outstanding = due;
    } else {
        status.overpaid = due < 0 ? -due : (cls.figure == 0 ? due : 0);
    }
    return status;
}

Outstanding outstanding(const Evening& evening, const SettlementClass& cls) {
    Outstanding sum;
    std::int64_t unmarked = cls.people();
    if (evening.organiser && evening.organiser->group == cls.group &&
        evening.organiser->member >= cls.firstMember &&
        evening.organiser->member <= cls.lastMember) {
        --unmarked;
    }
    const auto begin = evening.marks.lower_bound(MemberKey{cls.group, cls.firstMember});
    const auto end = evening.marks.upper_bound(MemberKey{cls.group, cls.lastMember});
    for (auto it = begin; it != end; ++it) {
        if (isOrganiser(evening, cls.group, it->first.member)) {
            continue;
        }
        count(sum, remaining(cls.figure, &it->second), 1);
        --unmarked;
    }
    count(sum, remaining(cls.figure, nullptr), unmarked);
    return sum;
}

Outstanding outstanding(const Evening& evening, const Settlement& settlement) {
    Outstanding sum;
    if (settlement.state != Settlement::State::Ready) {
        return sum;
    }
    for (const SettlementClass& cls : settlement.classes) {
        const Outstanding part = outstanding(evening, cls);
        sum.toCollect = saturatingAdd(sum.toCollect, part.toCollect);
        sum.toPayBack = saturatingAdd(sum.toPayBack, part.toPayBack);
    }
    return sum;
}

}  // namespace ts
