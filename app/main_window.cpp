#include "app/main_window.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/rescue.h"
#include "resources/ids.h"
#include "resources/texts.h"
#include "storage/export_file.h"
#include "storage/link_fragment.h"
#include "storage/settings_file.h"
#include "storage/text.h"
#include "ui/error_box.h"
#include "ui/group_dialog.h"
#include "ui/group_list.h"
#include "ui/party_link.h"
#include "ui/result_export.h"
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

// The commands that change the party; a shared party's view has none.
constexpr std::array kChangingCommands{
    id::main::kCalculatePlain, id::main::kCalculateRounded, id::main::kAdd,   id::main::kChange,
    id::main::kInput,          id::main::kDelete,           id::main::kClear,
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
    // A shared party shows the figures its sender had.
    recalculate();
    refreshWindow(window);
}

bool MainWindow::openParty() {
    state_.party = Party::create(text::kFirstPartyName);
    if (!state_.party) {
        return false;
    }
    // A missing or unreadable file leaves the new party as it is.
    if (state_.store) {
        loadParty(*state_.store, *state_.party);
    }
    if (state_.list != nullptr) {
        ui::buildColumns(*state_.list, state_.columns);
    }
    return true;
}

void MainWindow::close(platform::Dialog& window) {
    if (!state_.party) {
        window.endDialog(1);
        return;
    }
    if (state_.savedAtSessionEnd) {
        // Kept already, or rescued; nothing has changed since.
        state_.party.reset();
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
        // The window stays open with the party, so that the user can make
        // room or fix the folder and close again.
        return;
    }
    state_.party.reset();
    window.endDialog(1);
}

void MainWindow::saveAtSessionEnd() {
    if (!state_.party || state_.savedAtSessionEnd) {
        return;
    }
    // What an open dialog has not stored yet is not part of the party; the
    // quit request closes that dialog without storing it.
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
    const std::u16string path = rescueParty(state_.userFolder, *state_.party, localMoment());
    std::string message =
        "tally-share: cannot save " + (state_.store ? toUtf8(state_.store->where()) : "");
    if (!path.empty()) {
        message += "; the party was saved to " + toUtf8(path) + "\n";
    } else {
        // Not even a rescued copy: the records go to the log, to be typed in again.
        message += ", nor a rescued copy; the party follows\n" + partyRecords(*state_.party);
    }
    std::fputs(message.c_str(), stderr);
}

void MainWindow::command(platform::Dialog& window, int commandId) {
    state_.rememberedRow = state_.list != nullptr ? state_.list->selectedRow() : -1;
    if (!state_.party) {
        return;
    }
    Party& party = *state_.party;
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
    return state_.store && saveParty(*state_.store, *state_.party);
}

void MainWindow::autosave(platform::Dialog& window) {
    if (!state_.behaviour.autosave || !state_.party) {
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
    // has worked again, and the next change saves the whole party.
    if (!state_.saveFailureNotified) {
        state_.saveFailureNotified = true;
        window.showNotice(text::kNotSavedNotice);
        ui::showError(window, text::kStoreFailed);
    }
}

bool MainWindow::recalculate() {
    if (!state_.party || state_.calculation == Calculation::None) {
        return true;
    }
    Party& party = *state_.party;
    state_.resultsCurrent = party.calculate(state_.calculation == Calculation::Rounded);
    if (!state_.resultsCurrent) {
        // Nothing to split the total by (no groups, or no people or ratio
        // anywhere): figures of an earlier calculation must not stay beside
        // data they do not belong to, so the window shows the data as it is
        // before any calculation.
        party.clearResults();
    }
    return state_.resultsCurrent;
}

void MainWindow::calculateOnRequest(platform::Dialog& window, Calculation calculation) {
    // Asked for even when it cannot run now: it runs as soon as a change
    // makes it possible.
    state_.calculation = calculation;
    const bool calculated = recalculate();
    refreshWindow(window);
    if (!calculated && state_.party->groupCount() > 0) {
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
    const int chosen = window.popupMenu(id::main::kGroupList, entries);
    if (chosen != 0) {
        command(window, chosen);
    }
}

ui::Calculated MainWindow::calculated() const {
    if (!state_.resultsCurrent) {
        return ui::Calculated::None;
    }
    return state_.calculation == Calculation::Rounded ? ui::Calculated::ToTheUnit
                                                      : ui::Calculated::ToTheYen;
}

void MainWindow::copyChat(platform::Dialog& window) {
    if (!window.setClipboardText(ui::chatText(*state_.party, calculated()))) {
        ui::showError(window, text::kCopyFailed);
    }
}

void MainWindow::sendChat(platform::Dialog& window) {
    std::u16string message = ui::chatText(*state_.party, calculated());
    if (state_.behaviour.shareLinks) {
        // The link last, where a chat program makes it something to tap.
        const std::u16string link = linkToParty(window);
        if (!link.empty()) {
            message += link;
            message += u'\n';
        }
    }
    if (!window.shareText(message)) {
        ui::showError(window, text::kCopyFailed);
    }
}

std::u16string MainWindow::linkToParty(platform::Dialog& window) const {
    const std::string payload = ui::partyLinkPayload(*state_.party, calculated());
    // A party the other device would refuse to read gets no link.
    if (payload.size() > ui::kMaxLinkPayload) {
        return {};
    }
    return window.linkTo(payload, kLinkFormat);
}

void MainWindow::showLink(platform::Dialog& window) {
    const std::u16string link = linkToParty(window);
    if (link.empty()) {
        ui::showError(window, text::kLinkFailed);
        return;
    }
    window.showLink(link);
}

void MainWindow::exportSettings(platform::Dialog& window) {
    // The file as it is stored, so that the download is byte for byte what
    // the desktop program writes for this party.
    const std::string bytes = settingsFileBytes(*state_.party);
    if (!state_.store || !state_.store->save(bytes, holdsUnreadRecords) ||
        window.deliverFile({text::kSettingsFileName, text::kSettingsTypeName,
                            text::kSettingsExtension, text::kSettingsMediaType},
                           bytes) == platform::Delivery::Failed) {
        ui::showError(window, text::kExportFailed);
    }
}

void MainWindow::importSettings(platform::Dialog& window) {
    const std::u16string path = window.pickFile(text::kSettingsExtension);
    if (path.empty()) {
        return;  // cancelled
    }
    std::unique_ptr<Party> imported = Party::create(text::kFirstPartyName);
    if (!imported || !importFromPath(path, *imported)) {
        ui::showError(window, text::kImportNotSettings);
        return;
    }
    if (!confirmed(window, text::kImportReplaceQuestion, text::kImportCaption)) {
        return;
    }
    state_.party = std::move(imported);
    state_.rememberedRow = state_.party->groupCount() > 0 ? 0 : -1;
    recalculate();
    autosave(window);
    refreshWindow(window);
}

void MainWindow::copyTable(platform::Dialog& window) {
    if (!state_.party) {
        return;
    }
    const std::u16string table =
        ui::tableText(*state_.party, state_.columns, ui::kClipboardLineEnd);
    if (!window.setClipboardText(table)) {
        ui::showError(window, text::kCopyFailed);
    }
}

void MainWindow::saveCsv(platform::Dialog& window) {
    if (!state_.party) {
        return;
    }
    const std::string bytes = ui::csvBytes(*state_.party, state_.resultsCurrent);
    const std::u16string name = ui::csvFileName(localSaveDate());
    if (window.deliverFile({name, text::kCsvTypeName, text::kCsvExtension, text::kCsvMediaType},
                           bytes) == platform::Delivery::Failed) {
        ui::showError(window, text::kCsvSaveFailed);
    }
}

void MainWindow::refreshWindow(platform::Dialog& window) {
    if (state_.list != nullptr && state_.party) {
        // The shares and balances of a party not calculated yet are zeros,
        // not results: the balances say so by their tone.
        state_.list->deleteAllRows();
        ui::fillRows(*state_.list, state_.columns, *state_.party, state_.resultsCurrent);
        state_.list->selectRow(state_.rememberedRow);
    }
    if (state_.party) {
        ui::showTotals(window, *state_.party);
        // A remainder the rounding left is the organiser's to keep.
        window.describeItem(id::main::kRemainderText,
                            state_.resultsCurrent ? text::kRemainderKept : std::u16string_view());
    }
    window.invalidate();
}

}  // namespace ts::app
