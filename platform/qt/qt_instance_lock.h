#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include <QByteArray>
#include <QObject>
#include <QString>

#include "platform/instance_lock.h"

class QSocketNotifier;

namespace ts::platform {

// One copy per user: a flock on a file in a private folder
// ($XDG_RUNTIME_DIR/<name>/, else /tmp/<name>-<uid>/) decides which copy
// runs; the kernel drops it with the process, so nothing stale is left.
// When that folder cannot be used safely (someone else made it first, it is
// a symbolic link, others may write in it), the lock goes into the fallback
// folder instead, the user's own data folder, so that two copies still never
// run on one settings file.
// The running copy listens on a Unix-domain socket in the folder that holds
// the lock and brings its window titled <name> to the front when a later
// copy asks. Plain sockets driven by QSocketNotifier: no QtNetwork.
class QtInstanceLock final : public InstanceLock {
public:
    explicit QtInstanceLock(std::u16string_view name = kInstanceName,
                            std::u16string_view fallbackFolder = {});
    ~QtInstanceLock();
    QtInstanceLock(const QtInstanceLock&) = delete;
    QtInstanceLock& operator=(const QtInstanceLock&) = delete;

    bool acquire() override;
    void activateRunningCopy() override;

    // The preferred lock folder of this user (it need not exist).
    QString directory() const;
    // The folder whose lock decided acquire(): the one held, or the one a
    // running copy holds; empty before acquire() or when none was usable.
    QString lockDirectory() const { return lockFolder_; }
    // True after acquire() when the lock is really held (false when no
    // folder was usable and the program runs without the lock).
    bool holdsLock() const { return lockFd_ >= 0; }
    // True while the running copy answers activation requests.
    bool listening() const { return listenFd_ >= 0; }
    // Told of every activation request with the token it carried (tests).
    void setActivationObserver(std::function<void(const QByteArray& token)> observer);

    // Longest wait of activateRunningCopy, in milliseconds.
    static constexpr int kActivationTimeoutMs = 500;

private:
    // Takes the lock in `folder`: 1 held, 0 another copy holds it, -1 the
    // folder cannot be used.
    int tryFolder(const QString& folder, bool createParents);
    // Whether another copy holds the lock in the fallback folder.
    bool fallbackHeld() const;
    void listen();
    void onConnection();
    void activate(const QByteArray& token);

    QString name_;
    QString fallback_;
    QString lockFolder_;
    int folderFd_ = -1;
    int lockFd_ = -1;
    int listenFd_ = -1;
    QByteArray socketName_;  // the name listenFd_ is bound to in the folder
    QObject context_;        // parent of the connected clients
    std::unique_ptr<QSocketNotifier> listener_;
    std::function<void(const QByteArray&)> observer_;
};

}  // namespace ts::platform
