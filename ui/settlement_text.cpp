#include "ui/settlement_text.h"

#include <numeric>
#include <optional>

#include "resources/texts.h"
#include "storage/text.h"

namespace ts::ui {

namespace {

std::u16string yen(std::int64_t amount) {
    return decimalText(amount) + std::u16string(text::kYen);
}

std::u16string memberName(std::u16string_view group, std::int32_t member) {
    return std::u16string(group) + std::u16string(text::kMemberOf) + decimalText(member) +
           std::u16string(text::kMemberSuffix);
}

bool isOrganiser(const Evening& evening, const SettlementClass& cls, std::int32_t member) {
    return evening.organiser && evening.organiser->group == cls.group &&
           evening.organiser->member == member;
}

bool holdsOrganiser(const Evening& evening, const SettlementClass& cls) {
    return evening.organiser && evening.organiser->group == cls.group &&
           evening.organiser->member >= cls.firstMember &&
           evening.organiser->member <= cls.lastMember;
}

// The class's marks, the organiser's aside, in member order.
template <typename Visit>
void forEachMark(const Evening& evening, const SettlementClass& cls, Visit visit) {
    const auto end = evening.marks.upper_bound(MemberKey{cls.group, cls.lastMember});
    for (auto it = evening.marks.lower_bound(MemberKey{cls.group, cls.firstMember}); it != end;
         ++it) {
        if (!isOrganiser(evening, cls, it->first.member)) {
            visit(it->first.member, it->second);
        }
    }
}

// What the member still owes the organiser (> 0), or is owed (< 0), with
// the mark taken into account: the figure, less what changed hands.
std::int64_t owes(const SettlementClass& cls, const Mark* mark) {
    std::int64_t paidIn = 0;
    if (mark != nullptr) {
        paidIn = mark->figure > 0 ? -mark->amount : mark->amount;
    }
    return -cls.figure - paidIn;
}

// "2人目" or "2〜4人目".
std::u16string membersText(std::int64_t first, std::int64_t last) {
    std::u16string text = decimalText(first);
    if (last > first) {
        text += u'〜';
        text += decimalText(last);
    }
    return text + std::u16string(text::kMemberSuffix);
}

std::u16string roundNames(const Evening& evening, const std::vector<int>& rounds) {
    std::u16string names;
    for (const int round : rounds) {
        if (!names.empty()) {
            names += text::kRoundJoin;
        }
        names += evening.roundName(round);
    }
    return names;
}

}  // namespace

std::u16string figureText(std::int64_t figure) {
    if (figure < 0) {
        return yen(-figure) + std::u16string(text::kPay);
    }
    if (figure > 0) {
        return yen(figure) + std::u16string(text::kRefund);
    }
    return std::u16string(text::kNothingToSettle);
}

std::u16string classLabel(const Evening& evening, const SettlementClass& cls) {
    std::vector<int> rounds;
    for (const SettlementPart& part : cls.parts) {
        rounds.push_back(part.round);
    }
    return cls.group + u' ' + decimalText(cls.people()) + std::u16string(text::kPersons) +
           std::u16string(text::kClassRoundsOpen) + roundNames(evening, rounds) +
           std::u16string(text::kClassRoundsClose);
}

std::u16string partsText(const Evening& evening, const SettlementClass& cls) {
    std::u16string text;
    for (const SettlementPart& part : cls.parts) {
        if (!text.empty()) {
            text += text::kPartsJoin;
        }
        text += evening.roundName(part.round) + u' ' + figureText(part.balance);
    }
    return text;
}

std::u16string settledCountText(const Evening& evening, const SettlementClass& cls) {
    const std::int64_t members =
        std::int64_t{cls.people()} - (holdsOrganiser(evening, cls) ? 1 : 0);
    if (members <= 0) {
        return std::u16string(text::kOrganiserWord);
    }
    std::int64_t marked = 0;
    std::int64_t settled = 0;
    forEachMark(evening, cls, [&](std::int32_t, const Mark& mark) {
        ++marked;
        settled += owes(cls, &mark) == 0 ? 1 : 0;
    });
    // Without a mark, only a member with nothing to settle is done.
    if (cls.figure == 0) {
        settled += members - marked;
    }
    return decimalText(settled) + u'/' + decimalText(members) + std::u16string(text::kPersons);
}

std::u16string leftText(const Outstanding& left) {
    std::u16string text;
    if (left.toCollect > 0) {
        text = figureText(-left.toCollect);
    }
    if (left.toPayBack > 0) {
        if (!text.empty()) {
            text += text::kRoundJoin;
        }
        text += figureText(left.toPayBack);
    }
    return text.empty() ? std::u16string(text::kNone) : text;
}

std::u16string memberText(const Evening& evening, const SettlementClass& cls, std::int32_t member) {
    if (isOrganiser(evening, cls, member)) {
        return std::u16string(text::kOrganiserWord);
    }
    const auto found = evening.marks.find(MemberKey{cls.group, member});
    if (found == evening.marks.end()) {
        return std::u16string(cls.figure == 0 ? text::kNothingToSettle : text::kNotSettledMark);
    }
    const Mark& mark = found->second;
    const std::int64_t left = owes(cls, &mark);
    std::u16string text;
    // Part of what is due, or (the figure fell or turned since) more than
    // is due, which goes back the other way.
    const bool partly = (cls.figure < 0 && left > 0) || (cls.figure > 0 && left < 0);
    if (left == 0) {
        text = text::kSettledMark;
    } else if (partly) {
        text = std::u16string(text::kPartPaid) + yen(mark.amount) +
               std::u16string(text::kLeftOpen) + figureText(-left);
    } else {
        text = std::u16string(text::kSettledMark) + std::u16string(text::kLeftOpen) +
               figureText(-left);
    }
    if (mark.figure != cls.figure) {
        text += std::u16string(text::kDifferenceOpen) + figureText(cls.figure - mark.figure) +
                std::u16string(text::kDifferenceClose);
    }
    return text;
}

std::u16string organiserName(const Evening& evening) {
    if (!evening.organiser) {
        return std::u16string(text::kOrganiserOutside);
    }
    return memberName(evening.organiser->group, evening.organiser->member);
}

std::u16string problemText(const Evening& evening, const Settlement& settlement) {
    std::u16string text;
    if (!settlement.uncalculatedRounds.empty()) {
        text += roundNames(evening, settlement.uncalculatedRounds) +
                std::u16string(text::kRoundsNotCalculated);
    }
    if (!settlement.duplicateName.empty() && settlement.duplicateRound >= 0) {
        if (!text.empty()) {
            text += u'\n';
        }
        text += evening.roundName(settlement.duplicateRound) +
                std::u16string(text::kDuplicateNameOpen) + settlement.duplicateName +
                std::u16string(text::kDuplicateNameClose);
    }
    if (text.empty() && settlement.state == Settlement::State::TooLarge) {
        text = text::kSettlementTooLarge;
    }
    return text;
}

std::u16string organiserText(const Evening& evening, const Settlement& settlement) {
    std::u16string text = std::u16string(text::kOrganiserOpen) + organiserName(evening) +
                          std::u16string(text::kOrganiserKeeps) + yen(settlement.organiserKeeps);
    std::int64_t shown = 0;
    for (const Settlement::RoundMoney& round : settlement.rounds) {
        shown += round.shownRemainder;  // at most 20 int32 values
    }
    std::u16string notes;
    if (shown != settlement.organiserKeeps) {
        notes += std::u16string(text::kShownRemaindersOpen) + yen(shown) +
                 std::u16string(text::kShownRemaindersClose);
    }
    if (settlement.organiser && settlement.organiserFigure != 0) {
        notes += std::u16string(text::kOrganiserOwnOpen) + figureText(settlement.organiserFigure) +
                 std::u16string(text::kOrganiserOwnClose);
    }
    if (!notes.empty()) {
        text += u'\n' + notes;
    }
    return text;
}

std::u16string outstandingText(const Outstanding& left) {
    return std::u16string(text::kToCollect) + yen(left.toCollect) +
           std::u16string(text::kToPayBack) + yen(left.toPayBack);
}

std::u16string breakdownText(const Evening& evening, const SettlementClass& cls) {
    std::u16string text = classLabel(evening, cls) + u'\n' + partsText(evening, cls);
    if (cls.parts.size() > 1) {
        text += u" = " + figureText(cls.figure);
    }
    text += u'\n';
    // Members one by one where something is noted of them; the others in
    // runs, so that a class of many members stays a few lines.
    // Member numbers are int32; one past the last is kept wide.
    std::int64_t next = cls.firstMember;
    const auto runTo = [&](std::int64_t last) {
        if (last >= next) {
            text += membersText(next, last) + u' ' +
                    memberText(evening, cls, static_cast<std::int32_t>(next)) + u'\n';
        }
    };
    const auto single = [&](std::int32_t member) {
        runTo(std::int64_t{member} - 1);
        text += membersText(member, member) + u' ' + memberText(evening, cls, member) + u'\n';
        next = std::int64_t{member} + 1;
    };
    std::optional<std::int32_t> organiser;
    if (holdsOrganiser(evening, cls)) {
        organiser = evening.organiser->member;
    }
    const auto end = evening.marks.upper_bound(MemberKey{cls.group, cls.lastMember});
    for (auto it = evening.marks.lower_bound(MemberKey{cls.group, cls.firstMember}); it != end;
         ++it) {
        if (organiser && *organiser < it->first.member) {
            single(*organiser);
            organiser.reset();
        }
        if (!organiser || *organiser != it->first.member) {
            single(it->first.member);
        }
    }
    if (organiser) {
        single(*organiser);
    }
    runTo(cls.lastMember);
    return text;
}

std::u16string reminderText(const Evening& evening, const Settlement& settlement) {
    if (settlement.state != Settlement::State::Ready) {
        return {};
    }
    std::u16string text = std::u16string(text::kReminderTitle) + u'\n';
    bool anyone = false;
    for (const SettlementClass& cls : settlement.classes) {
        std::u16string lines;
        std::int64_t next = cls.firstMember;
        // Members without a mark owe the whole figure, when it is a payment.
        const auto unmarkedTo = [&](std::int64_t last) {
            for (std::int64_t from = next; from <= last;) {
                std::int64_t to = last;
                if (holdsOrganiser(evening, cls) && evening.organiser->member >= from &&
                    evening.organiser->member <= to) {
                    to = evening.organiser->member - 1;
                }
                if (to >= from && cls.figure < 0) {
                    lines += std::u16string(text::kReminderBullet) + membersText(from, to) + u' ' +
                             yen(-cls.figure) + u'\n';
                }
                if (to == last) {
                    break;
                }
                from = to + 2;  // past the organiser
            }
        };
        forEachMark(evening, cls, [&](std::int32_t member, const Mark& mark) {
            unmarkedTo(std::int64_t{member} - 1);
            next = std::int64_t{member} + 1;
            const std::int64_t left = owes(cls, &mark);
            if (left > 0) {
                lines += std::u16string(text::kReminderBullet) + membersText(member, member) +
                         u' ' + yen(left);
                if (mark.amount > 0 && mark.figure < 0) {
                    lines += std::u16string(text::kReminderReceivedOpen) + yen(mark.amount) +
                             std::u16string(text::kReminderReceivedClose);
                }
                lines += u'\n';
            }
        });
        unmarkedTo(cls.lastMember);
        if (!lines.empty()) {
            anyone = true;
            text += classLabel(evening, cls) + std::u16string(text::kReminderEach) +
                    figureText(cls.figure) + u'\n' + lines;
        }
    }
    if (!anyone) {
        text += std::u16string(text::kReminderNobody) + u'\n';
    }
    if (!evening.payee.empty()) {
        text += std::u16string(text::kReminderPayee) + evening.payee + u'\n';
    } else {
        text += std::u16string(text::kReminderPayOrganiser) + u'\n';
    }
    return text;
}

}  // namespace ts::ui
