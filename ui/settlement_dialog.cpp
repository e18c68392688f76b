#include "ui/settlement_dialog.h"

#include <algorithm>
#include <array>

#include "resources/dialog_template.h"
#include "resources/ids.h"
#include "resources/tables.h"
#include "resources/texts.h"
#include "storage/text.h"
#include "ui/error_box.h"
#include "ui/numbers.h"
#include "ui/settlement_text.h"

namespace ts::ui {

namespace {

using platform::Message;

// A figure's tone, as the group list gives a balance its.
res::Tone toneOf(std::int64_t figure) {
    if (figure < 0) {
        return res::Tone::Pay;
    }
    return figure > 0 ? res::Tone::Refund : res::Tone::None;
}

// The commands that change the evening; a read-only view has none.
constexpr std::array kChangingControls{
    id::settle::kMarkPaid,       id::settle::kPartPaid,   id::settle::kTakeBack,
    id::settle::kOrganiserCombo, id::settle::kPayeeField, id::settle::kOrganiserLabel,
    id::settle::kPayeeLabel,
};

bool isOrganiser(const Evening& evening, const SettlementClass& cls, std::int32_t member) {
    return evening.organiser && evening.organiser->group == cls.group &&
           evening.organiser->member == member;
}

bool unsettled(const MemberStatus& status, bool orOverpaid) {
    return status.outstanding > 0 || (orOverpaid && status.overpaid > 0);
}

// Net money the member has paid the organiser, as the mark notes it.
std::int64_t paidIn(const Mark& mark) {
    return mark.figure > 0 ? -mark.amount : mark.amount;
}

// The amount a part payment may be: what the member still owes or is owed.
class AmountDialog {
public:
    AmountDialog(std::u16string who, std::int64_t most) : who_(std::move(who)), most_(most) {}

    void handle(platform::Dialog& dialog, const Message& message) {
        if (message.kind == Message::Kind::InitDialog) {
            dialog.setItemText(id::amount::kWhoText, who_);
            dialog.limitText(id::amount::kAmountField, static_cast<int>(platform::kMaxItemText));
            return;
        }
        if (message.kind != Message::Kind::Command) {
            return;
        }
        if (message.id == id::kCancel || message.id == id::kCancelCommand) {
            dialog.endDialog(1);
        } else if (message.id == id::kOk) {
            accept(dialog);
        }
    }

    std::optional<std::int64_t> amount;

private:
    void accept(platform::Dialog& dialog) {
        const std::u16string typed = dialog.itemText(id::amount::kAmountField);
        if (typed.empty()) {
            showError(dialog, text::kNeedAmount);
            return;
        }
        const auto value = digitsValue(typed);
        if (!value) {
            showError(dialog, text::kNeedNumber);
            return;
        }
        if (*value == 0) {
            showError(dialog, text::kAmountAtLeastOne);
            return;
        }
        if (*value > most_) {
            showError(dialog, text::kAmountTooLarge);
            return;
        }
        amount = *value;
        dialog.endDialog(1);
    }

    std::u16string who_;
    std::int64_t most_;
};

}  // namespace

std::optional<std::int32_t> nextUnsettled(const Evening& evening, const SettlementClass& cls,
                                          bool orOverpaid) {
    // An unmarked member owes the whole figure, so the first one settles
    // nothing only when the figure is 0; the walk passes the marked members
    // (and the organiser) and stops at the first unmarked one.
    for (std::int64_t wide = cls.firstMember; wide <= cls.lastMember; ++wide) {
        const auto member = static_cast<std::int32_t>(wide);
        if (isOrganiser(evening, cls, member)) {
            continue;
        }
        const bool marked = evening.marks.count(MemberKey{cls.group, member}) != 0;
        if (!marked && cls.figure == 0) {
            // Nothing to settle without a mark: only the marked can be left.
            const auto end = evening.marks.upper_bound(MemberKey{cls.group, cls.lastMember});
            for (auto it = evening.marks.upper_bound(MemberKey{cls.group, member}); it != end;
                 ++it) {
                if (!isOrganiser(evening, cls, it->first.member) &&
                    unsettled(memberStatus(evening, cls, it->first.member), orOverpaid)) {
                    return it->first.member;
                }
            }
            return std::nullopt;
        }
        if (unsettled(memberStatus(evening, cls, member), orOverpaid)) {
            return member;
        }
    }
    return std::nullopt;
}

Mark markAfterPayment(const Evening& evening, const SettlementClass& cls, std::int32_t member,
                      std::int64_t amount) {
    const auto found = evening.marks.find(MemberKey{cls.group, member});
    const Mark* before = found != evening.marks.end() ? &found->second : nullptr;
    const std::int64_t was = before != nullptr ? paidIn(*before) : 0;
    // Received from a member who pays, paid back to one who is refunded.
    const std::int64_t now = cls.figure < 0 ? was + amount : was - amount;
    const std::int64_t bounded = std::clamp(now, -Mark::kMaxAmount, Mark::kMaxAmount);
    // Noted against today's figure where the money goes its way; otherwise
    // (the figure turned since the earlier mark) against the figure then.
    if ((cls.figure < 0 && bounded >= 0) || (cls.figure > 0 && bounded <= 0) || before == nullptr) {
        return Mark{bounded < 0 ? -bounded : bounded, cls.figure};
    }
    return Mark{bounded < 0 ? -bounded : bounded, before->figure};
}

SettlementDialog::SettlementDialog(Evening& evening, bool viewOnly, std::function<void()> changed)
    : evening_(evening), viewOnly_(viewOnly), changed_(std::move(changed)) {}

platform::DialogProc SettlementDialog::procedure() {
    return [this](platform::Dialog& dialog, const Message& message) { handle(dialog, message); };
}

void SettlementDialog::handle(platform::Dialog& dialog, const Message& message) {
    if (message.kind == Message::Kind::InitDialog) {
        open(dialog);
        return;
    }
    if (message.kind != Message::Kind::Command) {
        return;
    }
    row_ = list_ != nullptr ? list_->selectedRow() : -1;
    const bool changing = std::find(kChangingControls.begin(), kChangingControls.end(),
                                    message.id) != kChangingControls.end();
    if (viewOnly_ && changing) {
        return;
    }
    switch (message.id) {
        case id::kOk:
        case id::kCancel:
        case id::kCancelCommand:
            close(dialog);
            return;
        case id::settle::kMarkPaid:
            markPaid(dialog);
            return;
        case id::settle::kPartPaid:
            partPaid(dialog);
            return;
        case id::settle::kTakeBack:
            takeBack(dialog);
            return;
        case id::settle::kBreakdown:
            showBreakdown(dialog);
            return;
        case id::settle::kOrganiserCombo:
            chooseOrganiser(dialog);
            return;
        case id::settle::kCopyReminder:
            sendReminder(dialog, false);
            return;
        case id::settle::kSendReminder:
            sendReminder(dialog, true);
            return;
        default:
            return;
    }
}

void SettlementDialog::open(platform::Dialog& dialog) {
    list_ = dialog.listView(id::settle::kPlanList);
    if (list_ != nullptr) {
        const auto& columns = res::kPlanColumns;
        list_->deleteColumns(static_cast<int>(columns.size()));
        for (std::size_t i = 0; i < columns.size(); ++i) {
            list_->insertColumn(static_cast<int>(i), columns[i].title, columns[i].width,
                                columns[i].role);
        }
    }
    dialog.addCommandButton(id::settle::kSendReminder, text::kSendButton);
    if (viewOnly_) {
        for (const int control : kChangingControls) {
            dialog.showItem(control, false);
        }
    } else {
        // Outside the groups, then each group's first member, in the order
        // the groups first come in the evening.
        organisers_.push_back(std::nullopt);
        for (int r = 0; r < evening_.roundCount(); ++r) {
            const Party& party = *evening_.roundAt(r)->party;
            for (int g = 0; g < party.groupCount(); ++g) {
                const MemberKey first{party.groupAt(g)->name(), 1};
                if (std::find(organisers_.begin(), organisers_.end(), first) == organisers_.end()) {
                    organisers_.push_back(first);
                }
            }
        }
        // An organiser the groups no longer show stays as it is until
        // another is chosen.
        if (evening_.organiser && std::find(organisers_.begin(), organisers_.end(),
                                            evening_.organiser) == organisers_.end()) {
            organisers_.push_back(evening_.organiser);
        }
        for (std::size_t i = 0; i < organisers_.size(); ++i) {
            std::u16string entry;
            if (organisers_[i]) {
                entry = organisers_[i]->group + std::u16string(text::kMemberOf) +
                        decimalText(organisers_[i]->member) + std::u16string(text::kMemberSuffix);
            } else {
                entry = text::kOrganiserOutside;
            }
            dialog.insertComboEntry(id::settle::kOrganiserCombo, static_cast<int>(i), entry);
        }
        const auto chosen = std::find(organisers_.begin(), organisers_.end(), evening_.organiser);
        dialog.selectComboEntry(id::settle::kOrganiserCombo,
                                static_cast<int>(chosen - organisers_.begin()));
        dialog.limitText(id::settle::kPayeeField, static_cast<int>(Evening::kMaxPayeeUnits));
        dialog.setItemText(id::settle::kPayeeField, evening_.payee);
    }
    row_ = 0;
    refresh(dialog);
}

void SettlementDialog::refresh(platform::Dialog& dialog) {
    plan_ = settle(evening_);
    const bool ready = plan_.state == Settlement::State::Ready;
    if (list_ != nullptr) {
        list_->deleteAllRows();
        for (std::size_t i = 0; ready && i < plan_.classes.size(); ++i) {
            const SettlementClass& cls = plan_.classes[i];
            const int row = static_cast<int>(i);
            const res::Tone none = res::Tone::None;
            list_->setCell(classLabel(evening_, cls), 0, row, none);
            list_->setCell(figureText(cls.figure), 1, row, toneOf(cls.figure));
            // Settled once nobody is left for 済: a phone's card then offers
            // no 済.
            const bool done = !nextUnsettled(evening_, cls, true);
            list_->setCell(settledCountText(evening_, cls), 2, row,
                           done ? res::Tone::Settled : none);
            list_->setCell(leftText(outstanding(evening_, cls)), 3, row, none);
            list_->setCell(partsText(evening_, cls), 4, row, none);
        }
        list_->selectRow(row_);
    }
    if (ready) {
        dialog.setItemText(id::settle::kOrganiserText, organiserText(evening_, plan_));
        dialog.setItemText(id::settle::kOutstandingText,
                           outstandingText(outstanding(evening_, plan_)));
    } else {
        // No figures: only why.
        dialog.setItemText(id::settle::kOrganiserText, problemText(evening_, plan_));
        dialog.setItemText(id::settle::kOutstandingText, {});
    }
    dialog.invalidate();
}

void SettlementDialog::close(platform::Dialog& dialog) {
    storePayee(dialog);
    dialog.endDialog(1);
}

void SettlementDialog::noteChange() {
    if (changed_) {
        changed_();
    }
}

const SettlementClass* SettlementDialog::selectedClass() {
    if (plan_.state != Settlement::State::Ready || row_ < 0 ||
        static_cast<std::size_t>(row_) >= plan_.classes.size()) {
        return nullptr;
    }
    return &plan_.classes[static_cast<std::size_t>(row_)];
}

void SettlementDialog::markPaid(platform::Dialog& dialog) {
    const SettlementClass* cls = selectedClass();
    if (cls == nullptr) {
        return;
    }
    const auto member = nextUnsettled(evening_, *cls, true);
    if (!member) {
        showError(dialog, text::kNobodyLeft);
        return;
    }
    evening_.marks[MemberKey{cls->group, *member}] = Mark::settledInFull(cls->figure);
    noteChange();
    refresh(dialog);
}

void SettlementDialog::partPaid(platform::Dialog& dialog) {
    const SettlementClass* cls = selectedClass();
    if (cls == nullptr) {
        return;
    }
    const auto member = nextUnsettled(evening_, *cls, false);
    if (!member) {
        showError(dialog, text::kNobodyLeft);
        return;
    }
    const MemberStatus status = memberStatus(evening_, *cls, *member);
    const MemberKey key{cls->group, *member};
    std::u16string who =
        key.group + std::u16string(text::kMemberOf) + decimalText(key.member) +
        std::u16string(text::kMemberSuffix) + std::u16string(text::kLeftOpen) +
        figureText(cls->figure < 0 ? -status.outstanding : status.outstanding) + u'\n' +
        std::u16string(cls->figure < 0 ? text::kAmountReceived : text::kAmountPaidBack);
    AmountDialog amount(std::move(who), status.outstanding);
    dialog.runModal(res::kAmountDialog,
                    [&amount](platform::Dialog& d, const Message& m) { amount.handle(d, m); });
    if (!amount.amount) {
        return;
    }
    evening_.marks[key] = markAfterPayment(evening_, *cls, *member, *amount.amount);
    noteChange();
    refresh(dialog);
}

void SettlementDialog::takeBack(platform::Dialog& dialog) {
    const SettlementClass* cls = selectedClass();
    if (cls == nullptr) {
        return;
    }
    // The mark of the last member marked: 済 and part payments go in
    // member order, so this undoes the latest of them.
    const auto first = evening_.marks.lower_bound(MemberKey{cls->group, cls->firstMember});
    auto it = evening_.marks.upper_bound(MemberKey{cls->group, cls->lastMember});
    while (it != first) {
        --it;
        if (!isOrganiser(evening_, *cls, it->first.member)) {
            evening_.marks.erase(it);
            noteChange();
            refresh(dialog);
            return;
        }
    }
    showError(dialog, text::kNoMarkToTakeBack);
}

void SettlementDialog::showBreakdown(platform::Dialog& dialog) {
    const SettlementClass* cls = selectedClass();
    if (cls == nullptr) {
        return;
    }
    dialog.messageBox(breakdownText(evening_, *cls), text::kBreakdownCaption,
                      {platform::MessageButtons::Ok, platform::MessageIcon::Information});
}

void SettlementDialog::chooseOrganiser(platform::Dialog& dialog) {
    const int chosen = dialog.comboSelection(id::settle::kOrganiserCombo);
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= organisers_.size() ||
        organisers_[static_cast<std::size_t>(chosen)] == evening_.organiser) {
        return;
    }
    evening_.organiser = organisers_[static_cast<std::size_t>(chosen)];
    noteChange();
    refresh(dialog);
}

void SettlementDialog::storePayee(platform::Dialog& dialog) {
    if (viewOnly_) {
        return;
    }
    std::u16string payee = dialog.itemText(id::settle::kPayeeField);
    cutToWholeCharacters(payee, Evening::kMaxPayeeUnits);
    if (payee != evening_.payee) {
        evening_.payee = std::move(payee);
        noteChange();
    }
}

void SettlementDialog::sendReminder(platform::Dialog& dialog, bool share) {
    // What is typed is what the reminder ends with.
    storePayee(dialog);
    if (plan_.state != Settlement::State::Ready) {
        showError(dialog, problemText(evening_, plan_));
        return;
    }
    const std::u16string reminder = reminderText(evening_, plan_);
    if (!(share ? dialog.shareText(reminder) : dialog.setClipboardText(reminder))) {
        showError(dialog, text::kCopyFailed);
    }
}

void runSettlementDialog(platform::Dialog& owner, Evening& evening, bool viewOnly,
                         std::function<void()> changed) {
    SettlementDialog dialog(evening, viewOnly, std::move(changed));
    owner.runModal(res::kSettlementDialog, dialog.procedure());
}

}  // namespace ts::ui
