#include "model/evening.h"

#include <algorithm>
#include <utility>

#include "resources/texts.h"

namespace ts {

namespace {

// A kanji numeral for 1 to 99 (一, 十, 十一, 二十, 二十一, ...).
std::u16string kanjiNumeral(int number) {
    std::u16string numeral;
    const int tens = number / 10;
    const int ones = number % 10;
    if (tens > 1) {
        numeral += text::kKanjiDigits[static_cast<std::size_t>(tens)];
    }
    if (tens > 0) {
        numeral += text::kKanjiTen;
    }
    if (ones > 0) {
        numeral += text::kKanjiDigits[static_cast<std::size_t>(ones)];
    }
    return numeral;
}

}  // namespace

bool Round::recalculate() {
    if (!party || calculation == Calculation::None) {
        resultsCurrent = false;
        return true;
    }
    resultsCurrent = party->calculate(calculation == Calculation::Rounded);
    if (!resultsCurrent) {
        // Nothing to split the total by (no groups, or no people or ratio
        // anywhere): figures of an earlier calculation must not stay beside
        // data they do not belong to.
        party->clearResults();
    }
    return resultsCurrent;
}

Mark Mark::settledInFull(std::int64_t figure) {
    const std::int64_t bounded = std::clamp(figure, -kMaxFigure, kMaxFigure);
    return Mark{bounded < 0 ? -bounded : bounded, bounded};
}

Evening::Evening(std::unique_ptr<Party> party) {
    rounds_.push_back(Round{std::move(party), {}, Calculation::None, false});
}

Evening Evening::create() {
    return Evening(Party::create(text::kFirstPartyName));
}

bool Evening::ok() const {
    return !rounds_.empty() && std::all_of(rounds_.begin(), rounds_.end(), [](const Round& round) {
        return round.party != nullptr;
    });
}

int Evening::roundCount() const {
    return static_cast<int>(rounds_.size());
}

Round* Evening::roundAt(int index) {
    if (index < 0 || index >= roundCount()) {
        return nullptr;
    }
    return &rounds_[static_cast<std::size_t>(index)];
}

const Round* Evening::roundAt(int index) const {
    if (index < 0 || index >= roundCount()) {
        return nullptr;
    }
    return &rounds_[static_cast<std::size_t>(index)];
}

void Evening::setCurrent(int index) {
    if (index >= 0 && index < roundCount()) {
        current_ = index;
    }
}

Round& Evening::current() {
    return rounds_[static_cast<std::size_t>(current_)];
}

const Round& Evening::current() const {
    return rounds_[static_cast<std::size_t>(current_)];
}

std::u16string Evening::defaultRoundName(int position) {
    if (position < 0) {
        return {};
    }
    // Past 九十九次会 (never needed: there are at most kMaxRounds rounds, so
    // a free name is always found by the fortieth) the number is written
    // in digits.
    const int number = position + 1;
    std::u16string name;
    if (number < 100) {
        name = kanjiNumeral(number);
    } else {
        for (const char c : std::to_string(number)) {
            name += static_cast<char16_t>(c);
        }
    }
    name += text::kRoundNameSuffix;
    return name;
}

std::u16string Evening::roundName(int index) const {
    const Round* round = roundAt(index);
    if (round == nullptr) {
        return {};
    }
    return round->title.empty() ? defaultRoundName(index) : round->title;
}

void Evening::setRoundTitle(int index, std::u16string_view title) {
    if (Round* round = roundAt(index)) {
        round->title.assign(title);
    }
}

bool Evening::addRound() {
    if (roundCount() >= kMaxRounds || !ok()) {
        return false;
    }
    const Party& from = party();
    std::unique_ptr<Party> copy = Party::create(from.name());
    if (!copy) {
        return false;
    }
    copy->unit = from.unit;
    for (int i = 0; i < from.groupCount(); ++i) {
        const Group& group = *from.groupAt(i);
        std::unique_ptr<Group> same = Group::create(group.name());
        if (!same) {
            return false;
        }
        same->people = group.people;
        same->ratio = group.ratio;
        copy->addGroup(std::move(same));
    }

    // The first default name from the new round's position on that no
    // round shows: at most kMaxRounds - 1 names are taken, so one of the
    // next kMaxRounds is free.
    std::u16string title;
    for (int position = roundCount();; ++position) {
        title = defaultRoundName(position);
        bool taken = false;
        for (int i = 0; i < roundCount() && !taken; ++i) {
            taken = roundName(i) == title;
        }
        if (!taken) {
            break;
        }
    }
    rounds_.push_back(Round{std::move(copy), std::move(title), Calculation::None, false});
    current_ = roundCount() - 1;
    return true;
}

bool Evening::removeRound(int index) {
    if (roundCount() <= 1 || index < 0 || index >= roundCount()) {
        return false;
    }
    rounds_.erase(rounds_.begin() + index);
    if (index < current_ || (index == current_ && current_ > 0)) {
        --current_;
    }
    return true;
}

bool Evening::appendRound(Round round) {
    if (roundCount() >= kMaxRounds || !round.party) {
        return false;
    }
    rounds_.push_back(std::move(round));
    return true;
}

bool Evening::recalculateAll() {
    bool all = true;
    for (Round& round : rounds_) {
        all = round.recalculate() && all;
    }
    return all;
}

bool Evening::isSingleParty() const {
    return roundCount() == 1 && roundName(0) == defaultRoundName(0) && !organiser &&
           payee.empty() && marks.empty();
}

}  // namespace ts
