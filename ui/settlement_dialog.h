#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "model/settlement.h"
#include "platform/window_system.h"

// The settlement of the evening (template 105): the plan, one row per class
// of members with its figure, what is left and what it is made of; the
// commands that note who has paid (済, a part paid, taking a mark back)
// on the selected class; what the organiser keeps and what is still to
// change hands; who the organiser is, where to pay them, and the reminder
// for the chat.
namespace ts::ui {

class SettlementDialog {
public:
    // `changed` runs after each change of the evening (a mark, the
    // organiser, 支払先), before the change is shown. A read-only view
    // (`viewOnly`) shows the plan with its marks and changes nothing.
    SettlementDialog(Evening& evening, bool viewOnly, std::function<void()> changed);

    void handle(platform::Dialog& dialog, const platform::Message& message);
    platform::DialogProc procedure();

private:
    void open(platform::Dialog& dialog);
    void refresh(platform::Dialog& dialog);
    void close(platform::Dialog& dialog);
    const SettlementClass* selectedClass();
    void markPaid(platform::Dialog& dialog);
    void partPaid(platform::Dialog& dialog);
    void takeBack(platform::Dialog& dialog);
    void showBreakdown(platform::Dialog& dialog);
    void chooseOrganiser(platform::Dialog& dialog);
    void storePayee(platform::Dialog& dialog);
    void sendReminder(platform::Dialog& dialog, bool share);
    void noteChange();

    Evening& evening_;
    bool viewOnly_;
    std::function<void()> changed_;
    Settlement plan_;
    platform::ListView* list_ = nullptr;
    int row_ = 0;  // the selected row before the command
    // The organiser picker's entries: outside the groups, then member 1 of
    // each group.
    std::vector<std::optional<MemberKey>> organisers_;
};

// Runs the dialog owned by `owner`.
void runSettlementDialog(platform::Dialog& owner, Evening& evening, bool viewOnly,
                         std::function<void()> changed);

// The member of `cls` the next 済 or part payment is for: the first, the
// organiser aside, who still owes or is owed something (`orOverpaid`: or
// to whom the marks gave too much since their figure changed). Nothing
// when all have settled. Visits only the marked members and one more.
std::optional<std::int32_t> nextUnsettled(const Evening& evening, const SettlementClass& cls,
                                          bool orOverpaid);

// The mark of a member who was paid `amount` more (of a payment) or paid
// back `amount` more (of a refund), on top of what their mark notes.
Mark markAfterPayment(const Evening& evening, const SettlementClass& cls, std::int32_t member,
                      std::int64_t amount);

}  // namespace ts::ui
