// Runs one QtInstanceLock in a process of its own.
//   lock_helper hold <ms>   takes the lock; prints "first" and keeps it for
//                           <ms> milliseconds, or prints "second"
//   lock_helper activate    takes the lock; prints "first", or asks the
//                           running copy and prints "second <elapsed ms>"
// The fallback lock folder is $XDG_CONFIG_HOME/tally-share, as in the program.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "platform/qt/qt_instance_lock.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2) {
        return 2;
    }
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    const std::u16string fallback =
        config.isEmpty() ? std::u16string()
                         : (config + QStringLiteral("/tally-share")).toStdU16String();
    ts::platform::QtInstanceLock lock(u"TALLY-SHARE", fallback);
    const bool first = lock.acquire() && lock.holdsLock();
    if (!first) {
        QElapsedTimer elapsed;
        elapsed.start();
        if (std::strcmp(argv[1], "activate") == 0) {
            lock.activateRunningCopy();
        }
        std::printf("second %lld\n", static_cast<long long>(elapsed.elapsed()));
        std::fflush(stdout);
        return 0;
    }
    std::printf("first\n");
    std::fflush(stdout);
    if (std::strcmp(argv[1], "hold") == 0 && argc > 2) {
        QTimer::singleShot(std::atoi(argv[2]), &application, &QApplication::quit);
        return application.exec();
    }
    return 0;
}
