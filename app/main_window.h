#pragma once

#include "app/app_state.h"
#include "platform/window_system.h"
#include "ui/result_export.h"

namespace ts::app {

// The main window's procedure: creates and loads the party when the window
// opens, turns every button into a command on it, refreshes the list after
// each handled command and saves the party when the window closes.
class MainWindow {
public:
    explicit MainWindow(AppState& state) : state_(state) {}

    void handle(platform::Dialog& window, const platform::Message& message);
    platform::DialogProc procedure();

    // Creates the party named "FIRST", loads the settings file into it and
    // builds the list columns. False when the party cannot be created.
    bool openParty();
    void refreshWindow(platform::Dialog& window);

private:
    void create(platform::Dialog& window);
    void command(platform::Dialog& window, int id);
    // Saves and ends the window. When the save fails the user may retry,
    // end without saving, or go back to the window; on a quit request the
    // party goes to a rescued copy instead of asking.
    void close(platform::Dialog& window);
    // Runs the calculation last asked for, if any; false when it could not
    // run, after which no result is shown.
    bool recalculate();
    void calculateOnRequest(platform::Dialog& window, Calculation calculation);
    void showListMenu(platform::Dialog& window);
    void copyTable(platform::Dialog& window);
    void saveCsv(platform::Dialog& window);
    ui::Calculated calculated() const;
    void copyChat(platform::Dialog& window);
    void sendChat(platform::Dialog& window);
    // The party and its figures as a link for other devices (empty where
    // the window system makes none), and that link shown with its QR code.
    std::u16string linkToParty(platform::Dialog& window) const;
    void showLink(platform::Dialog& window);
    // The settings file handed to the user, and a chosen file read in place
    // of the party after the user agrees.
    void exportSettings(platform::Dialog& window);
    void importSettings(platform::Dialog& window);
    // With autosave, saves the party after a change; a failure is notified
    // once until a save works again.
    void autosave(platform::Dialog& window);
    // Saves the party to its store; false when it was not stored whole.
    bool save();
    void rescue();
    // Saves the party as it stands, or rescues it, before the session ends.
    void saveAtSessionEnd();
    void showAbout(platform::Dialog& window);

    AppState& state_;
};

}  // namespace ts::app
