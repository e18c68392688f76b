#include "app/main_window.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/rescue.h"
#include "resources/ids.h"
#include "resources/texts.h"
#include "storage/evening_file.h"
#include "storage/export_file.h"
#include "storage/settings_file.h"
#include "storage/text.h"
#include "ui/error_box.h"
#include "ui/group_dialog.h"
#include "ui/group_list.h"
#include "ui/party_link.h"
#include "ui/result_export.h"
#include "ui/round_dialog.h"
#include "ui/settlement_dialog.h"
#include "ui/total_dialog.h"

namespace ts::app {

namespace {

using platform::Message;

// The window fills the top of a small screen: at most 640 pixels wide, and
// 214 high unless the screen leaves less than that under the task bar. The
// window system enlarges it to its template when the dialog font needs more.
constexpr int kMaxWidth = 640;
constexpr int kTaskBarHeight = 26;
constexpr int kMaxFreeHeight = 240;
constexpr int kDefaultHeight = 214;

// The commands that change the evening; a shared party's view has none.
// (Choosing another round only changes which one is shown.)
constexpr std::array kChangingCommands{
    id::main::kCalculatePlain, id::main::kCalculateRounded, id::main::kAdd,   id::main::kChange,
    id::main::kInput,          id::main::kDelete,           id::main::kClear, id::main::kAddRound,
    id::main::kRenameRound,    id::main::kDeleteRound,
};

bool confirmed(platform::Dialog& window, std::u16string_view question,
               std::u16string_view caption) {
    return window.messageBox(question, caption, {platform::MessageButtons::OkCancel}) ==
           platform::MessageAnswer::Ok;
}

}  // namespace

platform::DialogProc MainWindow::procedure() {
    return [this](platform::Dialog& window, const Message& message) { handle(window, message); };
}

void MainWindow::handle(platform::Dialog& window, const Message& message) {
    switch (message.kind) {
        case Message::Kind::InitDialog:
            create(window);
            break;
        case Message::Kind::Command:
            command(window, message.id);
            break;
        case Message::Kind::ContextMenu:
            if (message.id == id::main::kGroupList) {
                showListMenu(window);
            } else if (message.id == id::main::kRoundCombo) {
                showRoundMenu(window);
            }
            break;
        case Message::Kind::Copy:
            copyTable(window);
            break;
        case Message::Kind::Help:
            showAbout(window);
            break;
        case Message::Kind::SessionEnd:
            saveAtSessionEnd();
            break;
        case Message::Kind::VScroll:
            break;
    }
}

void MainWindow::create(platform::Dialog& window) {
    const int width = std::min(window.screenWidth(), kMaxWidth);
    int height = window.screenHeight() - kTaskBarHeight;
    if (height > kMaxFreeHeight) {
        height = kDefaultHeight;
    }
    window.placeWindow(0, 0, width, height);
    state_.list = window.listView(id::main::kGroupList);
    if (state_.list != nullptr && !state_.behaviour.viewOnly) {
        state_.list->setEmptyText(text::kEmptyListHint);
    }
    // The round selector appears once there is a second round.
    window.showItem(id::main::kRoundCombo, false);
    window.addCommandButton(id::main::kSendChat, text::kSendButton);
    if (state_.behaviour.viewOnly) {
        // Someone else's party, to look at: nothing here changes it.
        for (const int command : kChangingCommands) {
            window.showItem(command, false);
        }
        window.showNotice(text::kSharedViewNotice);
        window.addCommandButton(id::main::kTakeShared, text::kTakeSharedButton);
    } else if (state_.behaviour.shareLinks) {
        window.addCommandButton(id::main::kShareLink, text::kShareButton);
    }

    if (!openParty()) {
        window.endDialog(1);
        return;
    }
    // The rounds show the figures of the calculations asked for in them (a
    // shared party, those its sender had).
    state_.evening->recalculateAll();
    refreshWindow(window);
}

bool MainWindow::openParty() {
    state_.evening = std::make_unique<Evening>(Evening::create());
    if (!state_.evening->ok()) {
        state_.evening.reset();
        return false;
    }
    // A missing or unreadable file leaves the new evening as it is.
    if (state_.store) {
        loadEvening(*state_.store, *state_.evening);
    }
    Round& first = *state_.evening->roundAt(0);
    if (first.calculation == Calculation::None) {
        first.calculation = state_.calculation;
    }
    if (state_.list != nullptr) {
        ui::buildColumns(*state_.list, state_.columns);
    }
    return true;
}

void MainWindow::close(platform::Dialog& window) {
    if (!state_.evening) {
        window.endDialog(1);
        return;
    }
    if (state_.savedAtSessionEnd) {
        // Kept already, or rescued; nothing has changed since.
        state_.evening.reset();
        window.endDialog(1);
        return;
    }
    while (!save()) {
        if (window.quitRequested()) {
            // Nobody may be asked now: keep the party elsewhere and go.
            rescue();
            break;
        }
        const auto answer = window.messageBox(
            text::kSaveFailedRetry, text::kErrorCaption,
            {platform::MessageButtons::RetryCancel, platform::MessageIcon::Warning});
        if (answer == platform::MessageAnswer::Retry) {
            continue;
        }
        if (window.quitRequested()) {
            rescue();
            break;
        }
        const auto leave =
            window.messageBox(text::kQuitWithoutSaving, text::kQuitWithoutSavingCaption,
                              {platform::MessageButtons::YesNo, platform::MessageIcon::Warning});
        if (leave == platform::MessageAnswer::Yes) {
            break;
        }
        if (window.quitRequested()) {
            rescue();
            break;
        }
        // The window stays open with the evening, so that the user can make
        // room or fix the folder and close again.
        return;
    }
    state_.evening.reset();
    window.endDialog(1);
}

void MainWindow::saveAtSessionEnd() {
    if (!state_.evening || state_.savedAtSessionEnd) {
        return;
    }
    // What an open dialog has not stored yet is not part of the evening;
    // the quit request closes that dialog without storing it.
    if (!save()) {
        rescue();
    }
    state_.savedAtSessionEnd = true;
}

void MainWindow::showAbout(platform::Dialog& window) {
    window.messageBox(text::kAboutText, text::kAboutCaption,
                      {platform::MessageButtons::Ok, platform::MessageIcon::Information});
}

void MainWindow::rescue() {
    const std::u16string path = rescueEvening(state_.userFolder, *state_.evening, localMoment());
    std::string message =
        "tally-share: cannot save " + (state_.store ? toUtf8(state_.store->where()) : "");
    if (!path.empty()) {
        message += "; the party was saved to " + toUtf8(path) + "\n";
    } else {
        // Not even a rescued copy: the records go to the log, to be typed in again.
        message += ", nor a rescued copy; the party follows\n" + eveningRecords(*state_.evening);
    }
    std::fputs(message.c_str(), stderr);
}

void MainWindow::command(platform::Dialog& window, int commandId) {
    state_.rememberedRow = state_.list != nullptr ? state_.list->selectedRow() : -1;
    if (!state_.evening) {
        return;
    }
    Party& party = this->party();
    const int row = state_.rememberedRow;
    if (state_.behaviour.viewOnly && (commandId == id::main::kImportSettings ||
                                      std::find(kChangingCommands.begin(), kChangingCommands.end(),
                                                commandId) != kChangingCommands.end())) {
        return;
    }

    switch (commandId) {
        case id::kOk:
        case id::kCancel:
            if (state_.behaviour.mainWindowCloses) {
                close(window);
            }
            return;
        case id::main::kCalculatePlain:
            calculateOnRequest(window, Calculation::Plain);
            return;
        case id::main::kCalculateRounded:
            calculateOnRequest(window, Calculation::Rounded);
            return;
        case id::main::kCopy:
            copyTable(window);
            return;
        case id::main::kSaveCsv:
            saveCsv(window);
            return;
        case id::main::kCopyChat:
            copyChat(window);
            return;
        case id::main::kSendChat:
            sendChat(window);
            return;
        case id::main::kExportSettings:
            exportSettings(window);
            return;
        case id::main::kImportSettings:
            importSettings(window);
            return;
        case id::main::kShareLink:
            showLink(window);
            return;
        case id::main::kTakeShared:
            if (state_.behaviour.viewOnly &&
                confirmed(window, text::kTakeSharedQuestion, text::kTakeSharedCaption)) {
                window.endDialog(kTakeSharedParty);
            }
            return;
        case id::main::kAdd:
            ui::runGroupDialog(window, party, ui::GroupDialogMode::Add, row);
            break;
        case id::main::kChange:
            if (row < 0) {
                return;
            }
            ui::runGroupDialog(window, party, ui::GroupDialogMode::Change, row);
            break;
        case id::main::kInput:
            ui::runTotalDialog(window, party);
            break;
        case id::main::kDelete:
            if (row < 0 || !confirmed(window, text::kDeleteQuestion, text::kDeleteCaption)) {
                return;
            }
            party.removeGroupAt(row);
            recalculate();
            // Saved before the row goes, like every other change.
            autosave(window);
            if (state_.list != nullptr) {
                state_.list->deleteRow(row);
            }
            refreshWindow(window);
            return;
        case id::main::kClear:
            if (!confirmed(window, text::kClearQuestion, text::kClearCaption)) {
                return;
            }
            party.clearGroups();
            break;
        case id::main::kViewToggle:
            if (state_.list != nullptr) {
                ui::toggleView(window, state_.columns, *state_.list);
            }
            refreshWindow(window);
            return;
        case id::main::kAboutIcon:
            showAbout(window);
            return;
        case id::main::kAddRound:
            addRound(window);
            return;
        case id::main::kRenameRound:
            renameRound(window);
            return;
        case id::main::kDeleteRound:
            deleteRound(window);
            return;
        case id::main::kRoundCombo:
            switchRound(window);
            return;
        case id::main::kSettle:
            showSettlement(window);
            return;
        default:
            return;
    }
    // The party may have changed (a cancelled dialog changes nothing, and
    // calculating again then gives the same figures).
    recalculate();
    autosave(window);
    refreshWindow(window);
}

bool MainWindow::save() {
    return state_.store && saveEvening(*state_.store, *state_.evening);
}

void MainWindow::autosave(platform::Dialog& window) {
    if (!state_.behaviour.autosave || !state_.evening) {
        return;
    }
    // Saved before the change is shown: a change the user has seen is one
    // the storage has already taken.
    if (save()) {
        if (state_.saveFailureNotified) {
            state_.saveFailureNotified = false;
            window.showNotice({});
        }
        return;
    }
    // Said once in a box; the window then says it for as long as no save
    // has worked again, and the next change saves the whole evening.
    if (!state_.saveFailureNotified) {
        state_.saveFailureNotified = true;
        window.showNotice(text::kNotSavedNotice);
        ui::showError(window, text::kStoreFailed);
    }
}

bool MainWindow::recalculate() {
    // Without results (nothing to split the total by) every figure goes
    // back to 0: figures of an earlier calculation must not stay beside
    // data they do not belong to.
    return !state_.evening || round().recalculate();
}

void MainWindow::calculateOnRequest(platform::Dialog& window, Calculation calculation) {
    // Asked for even when it cannot run now: it runs as soon as a change
    // makes it possible.
    round().calculation = calculation;
    const bool calculated = recalculate();
    // The round's calculation is kept with the evening, as every change.
    autosave(window);
    refreshWindow(window);
    if (!calculated && party().groupCount() > 0) {
        ui::showError(window, text::kNothingToWeigh);
    }
}

void MainWindow::showListMenu(platform::Dialog& window) {
    std::vector<platform::MenuEntry> entries{
        {id::main::kCopy, text::kCopyMenu},
        {id::main::kSaveCsv, text::kSaveCsvMenu},
        {id::main::kCopyChat, text::kCopyChatMenu},
    };
    if (state_.behaviour.shareLinks && !state_.behaviour.viewOnly) {
        entries.push_back({id::main::kShareLink, text::kShareLinkMenu});
    }
    if (state_.behaviour.settingsFileInMenu) {
        // Where the settings file is out of the user's reach, it moves to
        // and from other devices through these two.
        entries.push_back({id::main::kExportSettings, text::kExportSettingsMenu});
        entries.push_back({id::main::kImportSettings, text::kImportSettingsMenu});
    }
    const std::vector<platform::MenuEntry> rounds = roundEntries();
    entries.insert(entries.end(), rounds.begin(), rounds.end());
    const int chosen = window.popupMenu(id::main::kGroupList, entries);
    if (chosen != 0) {
        command(window, chosen);
    }
}

std::vector<platform::MenuEntry> MainWindow::roundEntries() const {
    std::vector<platform::MenuEntry> entries;
    if (!state_.behaviour.viewOnly) {
        entries.push_back({id::main::kAddRound, text::kAddRoundMenu});
        entries.push_back({id::main::kRenameRound, text::kRenameRoundMenu});
        if (state_.evening && state_.evening->roundCount() > 1) {
            // The only round cannot go.
            entries.push_back({id::main::kDeleteRound, text::kDeleteRoundMenu});
        }
    }
    entries.push_back({id::main::kSettle, text::kSettleMenu});
    return entries;
}

void MainWindow::showRoundMenu(platform::Dialog& window) {
    const std::vector<platform::MenuEntry> entries = roundEntries();
    const int chosen = window.popupMenu(id::main::kRoundCombo, entries);
    if (chosen != 0) {
        command(window, chosen);
    }
}

ui::Calculated MainWindow::calculated() const {
    if (!round().resultsCurrent) {
        return ui::Calculated::None;
    }
    return round().calculation == Calculation::Rounded ? ui::Calculated::ToTheUnit
                                                       : ui::Calculated::ToTheYen;
}

void MainWindow::copyChat(platform::Dialog& window) {
    if (!window.setClipboardText(ui::chatText(party(), calculated()))) {
        ui::showError(window, text::kCopyFailed);
    }
}

void MainWindow::sendChat(platform::Dialog& window) {
    std::u16string message = ui::chatText(party(), calculated());
    if (state_.behaviour.shareLinks) {
        // The link last, where a chat program makes it something to tap.
        const std::u16string link = linkToParty();
        if (!link.empty()) {
            message += link;
            message += u'\n';
        }
    }
    if (!window.shareText(message)) {
        ui::showError(window, text::kCopyFailed);
    }
}

std::u16string MainWindow::linkToParty() const {
    // A single party as it always was linked; more in the evening's format.
    const ui::LinkPayload link = ui::eveningLinkPayload(*state_.evening);
    // An evening the other device would refuse to read gets no link.
    if (link.payload.size() > ui::kMaxLinkPayload || state_.site == nullptr) {
        return {};
    }
    return state_.site->linkTo(link.payload, link.format);
}

void MainWindow::showLink(platform::Dialog& window) {
    const std::u16string link = linkToParty();
    if (link.empty()) {
        ui::showError(window, text::kLinkFailed);
        return;
    }
    state_.site->showLink(link);  // a link was made: there is a site
}

void MainWindow::exportSettings(platform::Dialog& window) {
    // The file as it is stored, so that the download is byte for byte what
    // the desktop program writes for this evening.
    const std::string bytes = eveningFileBytes(*state_.evening);
    if (!state_.store || !state_.store->save(bytes, eveningHoldsUnread) ||
        window.deliverFile({text::kSettingsFileName, text::kSettingsTypeName,
                            text::kSettingsExtension, text::kSettingsMediaType},
                           bytes) == platform::Delivery::Failed) {
        ui::showError(window, text::kExportFailed);
    }
}

void MainWindow::importSettings(platform::Dialog& window) {
    const std::optional<std::string> bytes =
        state_.site != nullptr ? state_.site->pickFile(text::kSettingsExtension) : std::nullopt;
    if (!bytes) {
        return;  // cancelled
    }
    auto imported = std::make_unique<Evening>(Evening::create());
    if (!imported->ok() || !importEvening(*bytes, *imported)) {
        ui::showError(window, text::kImportNotSettings);
        return;
    }
    if (!confirmed(window, text::kImportReplaceQuestion, text::kImportCaption)) {
        return;
    }
    state_.evening = std::move(imported);
    state_.rememberedRow = party().groupCount() > 0 ? 0 : -1;
    state_.evening->recalculateAll();
    autosave(window);
    refreshWindow(window);
}

void MainWindow::copyTable(platform::Dialog& window) {
    if (!state_.evening) {
        return;
    }
    const std::u16string table = ui::tableText(party(), state_.columns, ui::kClipboardLineEnd);
    if (!window.setClipboardText(table)) {
        ui::showError(window, text::kCopyFailed);
    }
}

void MainWindow::saveCsv(platform::Dialog& window) {
    if (!state_.evening) {
        return;
    }
    const std::string bytes = ui::csvBytes(party(), round().resultsCurrent);
    const std::u16string name = ui::csvFileName(localSaveDate());
    if (window.deliverFile({name, text::kCsvTypeName, text::kCsvExtension, text::kCsvMediaType},
                           bytes) == platform::Delivery::Failed) {
        ui::showError(window, text::kCsvSaveFailed);
    }
}

void MainWindow::refreshWindow(platform::Dialog& window) {
    if (!state_.evening) {
        window.invalidate();
        return;
    }
    const bool results = round().resultsCurrent;
    if (state_.list != nullptr) {
        // The shares and balances of a party not calculated yet are zeros,
        // not results: the balances say so by their tone.
        state_.list->deleteAllRows();
        ui::fillRows(*state_.list, state_.columns, party(), results);
        state_.list->selectRow(state_.rememberedRow);
    }
    ui::showTotals(window, party());
    // A remainder the rounding left is the organiser's to keep.
    window.describeItem(id::main::kRemainderText,
                        results ? text::kRemainderKept : std::u16string_view());
    showRounds(window);
    window.invalidate();
}

void MainWindow::showRounds(platform::Dialog& window) {
    const Evening& evening = *state_.evening;
    std::vector<std::u16string> names;
    if (evening.roundCount() > 1) {
        for (int i = 0; i < evening.roundCount(); ++i) {
            names.push_back(evening.roundName(i));
        }
    }
    if (names != roundsShown_) {
        if (names.empty() != roundsShown_.empty()) {
            window.showItem(id::main::kRoundCombo, !names.empty());
        }
        window.clearComboEntries(id::main::kRoundCombo);
        for (std::size_t i = 0; i < names.size(); ++i) {
            window.insertComboEntry(id::main::kRoundCombo, static_cast<int>(i), names[i]);
        }
        roundsShown_ = std::move(names);
        roundShown_ = -1;
    }
    const int current = roundsShown_.empty() ? -1 : evening.currentIndex();
    if (current != roundShown_) {
        window.selectComboEntry(id::main::kRoundCombo, current);
        roundShown_ = current;
    }
}

void MainWindow::addRound(platform::Dialog& window) {
    if (!state_.evening->addRound()) {
        ui::showError(window, text::kNoMoreRounds);
        return;
    }
    // The new round has the same groups: the same row stays selected.
    autosave(window);
    refreshWindow(window);
}

void MainWindow::renameRound(platform::Dialog& window) {
    if (ui::runRoundNameDialog(window, *state_.evening, state_.evening->currentIndex())) {
        autosave(window);
    }
    refreshWindow(window);
}

void MainWindow::deleteRound(platform::Dialog& window) {
    Evening& evening = *state_.evening;
    if (evening.roundCount() <= 1) {
        return;  // the only round stays; the menu does not offer it
    }
    const std::u16string question = std::u16string(text::kDeleteRoundQuestionOpen) +
                                    evening.roundName(evening.currentIndex()) +
                                    std::u16string(text::kDeleteRoundQuestionClose);
    if (!confirmed(window, question, text::kDeleteRoundCaption)) {
        return;
    }
    evening.removeRound(evening.currentIndex());
    state_.rememberedRow = std::min(state_.rememberedRow, party().groupCount() - 1);
    autosave(window);
    refreshWindow(window);
}

void MainWindow::switchRound(platform::Dialog& window) {
    const int chosen = window.comboSelection(id::main::kRoundCombo);
    if (chosen < 0 || chosen >= state_.evening->roundCount() ||
        chosen == state_.evening->currentIndex()) {
        return;
    }
    state_.evening->setCurrent(chosen);
    // The row at the same place, where the other round has one.
    state_.rememberedRow = std::min(state_.rememberedRow, party().groupCount() - 1);
    // Which round is shown is kept with the evening too.
    autosave(window);
    refreshWindow(window);
}

void MainWindow::showSettlement(platform::Dialog& window) {
    ui::runSettlementDialog(window, *state_.evening, state_.behaviour.viewOnly,
                            [this, &window] { autosave(window); });
    refreshWindow(window);
}

}  // namespace ts::app
