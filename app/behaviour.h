#pragma once

namespace ts::app {

// What the program does that depends on where it runs, chosen by each entry
// point (app/main.cpp, app/win_main.cpp, app/web_main.cpp) from the kinds
// below rather than asked of the window system.
struct Behaviour {
    // Saves the party after every change, before the change is shown, and
    // says once when a save fails (until one works again). A browser tab
    // needs it: it has no end of its own at which to save.
    bool autosave = false;
    // Enter, Escape and the close box end the main window, which saves the
    // party and ends the program. A browser tab's page has no such end.
    bool mainWindowCloses = true;
    // The list's menu offers the settings file to take away and to read one
    // in, for where the user cannot reach the file itself (a browser keeps
    // it in its own storage).
    bool settingsFileInMenu = false;
    // The party can be handed to another device as a link and a QR code
    // (where the program is a site with an address of its own).
    bool shareLinks = false;
    // A party someone shared, shown read-only: nothing is saved, no command
    // changes it, and the user may take it as their own party instead.
    bool viewOnly = false;
};

// A desktop program (Linux and Windows): the party is saved when the window
// closes or the session ends, and files go where a save-file dialog says.
// Setting autosave here makes both desktops save after every change too.
inline constexpr Behaviour kDesktop{.autosave = false,
                                    .mainWindowCloses = true,
                                    .settingsFileInMenu = false,
                                    .shareLinks = false,
                                    .viewOnly = false};

// A browser tab: no end of its own, so every change is saved as it is made;
// the settings file reaches the user only through the menu, and the party
// goes to other devices as a link.
inline constexpr Behaviour kBrowserTab{.autosave = true,
                                       .mainWindowCloses = false,
                                       .settingsFileInMenu = true,
                                       .shareLinks = true,
                                       .viewOnly = false};

// Someone else's party, opened from its link in a browser tab.
inline constexpr Behaviour kSharedPartyView{.autosave = false,
                                            .mainWindowCloses = false,
                                            .settingsFileInMenu = false,
                                            .shareLinks = true,
                                            .viewOnly = true};

// What the main window of a shared party's view ends with when the user
// takes that party as their own (the entry point then stores it).
inline constexpr int kTakeSharedParty = 2;

}  // namespace ts::app
