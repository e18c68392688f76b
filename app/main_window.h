#pragma once

#include <string>
#include <vector>

#include "app/app_state.h"
#include "platform/window_system.h"
#include "ui/result_export.h"

namespace ts::app {

// The main window's procedure: creates and loads the evening when the
// window opens, turns every button into a command on its current round,
// refreshes the list after each handled command and saves the evening when
// the window closes.
class MainWindow {
public:
    explicit MainWindow(AppState& state) : state_(state) {}

    void handle(platform::Dialog& window, const platform::Message& message);
    platform::DialogProc procedure();

    // Creates the evening, its first round a party named "FIRST", loads the
    // settings file into it and builds the list columns. False when the
    // evening cannot be created.
    bool openParty();
    void refreshWindow(platform::Dialog& window);

private:
    void create(platform::Dialog& window);
    void command(platform::Dialog& window, int id);
    // Saves and ends the window. When the save fails the user may retry,
    // end without saving, or go back to the window; on a quit request the
    // evening goes to a rescued copy instead of asking.
    void close(platform::Dialog& window);
    // Runs the current round's calculation last asked for, if any; false
    // when it could not run, after which no result is shown.
    bool recalculate();
    void calculateOnRequest(platform::Dialog& window, Calculation calculation);
    void showListMenu(platform::Dialog& window);
    // The round commands and the settlement, as the list's menu ends with
    // them; alone, the menu of the round selector, where a window system
    // offers one (the browser, by a button beside the selector).
    std::vector<platform::MenuEntry> roundEntries() const;
    void showRoundMenu(platform::Dialog& window);
    void copyTable(platform::Dialog& window);
    void saveCsv(platform::Dialog& window);
    ui::Calculated calculated() const;
    void copyChat(platform::Dialog& window);
    void sendChat(platform::Dialog& window);
    // The evening and its figures as a link for other devices (empty where
    // it is too large for one, or no site makes one), and that link shown
    // with its QR code.
    std::u16string linkToParty() const;
    void showLink(platform::Dialog& window);
    // The settings file handed to the user, and a chosen file read in place
    // of the evening after the user agrees.
    void exportSettings(platform::Dialog& window);
    void importSettings(platform::Dialog& window);
    // The evening's rounds: another one after the last, the current one
    // renamed or deleted, another one chosen in the selector, and the
    // settlement across them.
    void addRound(platform::Dialog& window);
    void renameRound(platform::Dialog& window);
    void deleteRound(platform::Dialog& window);
    void switchRound(platform::Dialog& window);
    void showSettlement(platform::Dialog& window);
    // The selector shows the rounds' names, the current one chosen, once
    // there are two.
    void showRounds(platform::Dialog& window);
    // With autosave, saves the evening after a change; a failure is
    // notified once until a save works again.
    void autosave(platform::Dialog& window);
    // Saves the party to its store; false when it was not stored whole.
    bool save();
    void rescue();
    // Saves the evening as it stands, or rescues it, before the session ends.
    void saveAtSessionEnd();
    void showAbout(platform::Dialog& window);

    Round& round() { return state_.evening->current(); }
    const Round& round() const { return state_.evening->current(); }
    Party& party() { return state_.evening->party(); }
    const Party& party() const { return state_.evening->party(); }

    AppState& state_;
    // The names the round selector shows, and which of them is chosen.
    std::vector<std::u16string> roundsShown_;
    int roundShown_ = -1;
};

}  // namespace ts::app
