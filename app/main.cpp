// The program's entry: one copy per user, then the main window until it
// closes. Running out of memory anywhere ends the program with the message
// box "out of memory" and status 1.
#include <new>
#include <string>
#include <utility>

#include <QApplication>
#include <QIcon>

#include "app/application.h"
#include "platform/qt/program_icon.h"
#include "platform/qt/qt_instance_lock.h"
#include "platform/qt/qt_window_system.h"
#include "resources/texts.h"
#include "storage/data_path.h"
#include "storage/store.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TALLY-SHARE"));
    QApplication::setDesktopFileName(QStringLiteral("tally-share"));
    QApplication::setWindowIcon(ts::platform::programIcons());

    ts::platform::QtWindowSystem windows;
    const std::u16string userFolder = ts::userDataFolder();
    try {
        // Where the usual lock folder cannot be trusted, the lock goes into the
        // user's own folder, so that one copy still runs per settings file.
        ts::platform::QtInstanceLock lock(ts::text::kAppName, userFolder);
        windows.installQuitHandlers();
        ts::app::Startup startup;
        startup.store = std::make_unique<ts::FileStore>(
            ts::settingsFilePath(TS_PORTABLE != 0, ts::text::kSettingsFileName));
        startup.userFolder = userFolder;
        startup.behaviour = ts::app::kDesktop;
        return ts::app::runApplication(windows, lock, std::move(startup));
    } catch (const std::bad_alloc&) {
        windows.exitOutOfMemory();
    }
}
