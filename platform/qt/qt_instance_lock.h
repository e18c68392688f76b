#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include <QByteArray>
#include <QObject>
#include <QString>

#include "platform/instance_lock.h"

class QLocalServer;
class QLocalSocket;

namespace ts::platform {

// One copy per user: a flock on a file in a private folder
// ($XDG_RUNTIME_DIR/<name>/, else /tmp/<name>-<uid>/) decides which copy
// runs; the kernel drops it with the process, so nothing stale is left.
// The running copy listens on a local socket in that folder and brings its
// window titled <name> to the front when a later copy asks.
class QtInstanceLock final : public InstanceLock {
public:
    explicit QtInstanceLock(std::u16string_view name = u"TALLY-SHARE");
    ~QtInstanceLock();
    QtInstanceLock(const QtInstanceLock&) = delete;
    QtInstanceLock& operator=(const QtInstanceLock&) = delete;

    bool acquire() override;
    void activateRunningCopy() override;

    // The lock folder of this user (it need not exist).
    QString directory() const;
    // True after acquire() when the lock is really held (false when the
    // folder was unusable and the program runs without the lock).
    bool holdsLock() const { return lockFd_ >= 0; }
    // Told of every activation request with the token it carried (tests).
    void setActivationObserver(std::function<void(const QByteArray& token)> observer);

    // Longest wait of activateRunningCopy, in milliseconds.
    static constexpr int kActivationTimeoutMs = 500;

private:
    void listen();
    void onConnection();
    void activate(const QByteArray& token);

    QString name_;
    int lockFd_ = -1;
    QObject context_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void(const QByteArray&)> observer_;
};

}  // namespace ts::platform
