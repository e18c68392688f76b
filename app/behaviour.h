#pragma once

namespace ts::app {

// What the program does that depends on where it runs, said by each entry
// point (app/main.cpp, app/win_main.cpp, app/web_main.cpp) rather than asked
// of the window system. The defaults are those of a desktop program.
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

// What the main window of a shared party's view ends with when the user
// takes that party as their own (the entry point then stores it).
inline constexpr int kTakeSharedParty = 2;

}  // namespace ts::app
