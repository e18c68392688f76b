#include "platform/qt/qt_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QTimer>
#include <QWidget>

// Off unless enabled, e.g. QT_LOGGING_RULES="tallyshare.instance.info=true".
Q_LOGGING_CATEGORY(lcInstance, "tallyshare.instance", QtWarningMsg)

namespace ts::platform {

namespace {

constexpr char kLockFileName[] = "lock";
constexpr char kSocketFileName[] = "socket";
constexpr QByteArrayView kRequest = "ACTIVATE";
constexpr char kAcknowledgement = '\x06';
// A request is one short line; anything longer is dropped.
constexpr qsizetype kMaxRequest = 1024;
constexpr qsizetype kMaxToken = 512;
// A client that sends nothing is dropped after this time.
constexpr int kClientTimeoutMs = 2000;

// The folder is ours alone: a real directory (not a symbolic link), owned by
// this user, writable by nobody else.
bool isPrivateFolder(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Opens the lock folder, creating it with mode 0700; -1 when it is missing
// (and create is false) or not private.
int openFolder(const QByteArray& path, bool create) {
    if (path.isEmpty()) {
        return -1;
    }
    if (create && ::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        return -1;
    }
    struct stat linkInfo {};
    if (::lstat(path.constData(), &linkInfo) != 0 || !isPrivateFolder(linkInfo)) {
        return -1;
    }
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    // The folder opened is the one examined, not one swapped in meanwhile.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !isPrivateFolder(info) || info.st_ino != linkInfo.st_ino ||
        info.st_dev != linkInfo.st_dev) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool isPrintableToken(const QByteArray& token) {
    if (token.size() > kMaxToken) {
        return false;
    }
    for (char c : token) {
        if (c < 0x21 || c > 0x7e) {
            return false;
        }
    }
    return true;
}

}  // namespace

QtInstanceLock::QtInstanceLock(std::u16string_view name)
    : name_(QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()))) {}

QtInstanceLock::~QtInstanceLock() {
    if (server_) {
        server_->close();  // removes the socket file while the lock is still held
        server_.reset();
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
    }
}

QString QtInstanceLock::directory() const {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        return runtime + QLatin1Char('/') + name_;
    }
    return QStringLiteral("/tmp/%1-%2").arg(name_).arg(::geteuid());
}

void QtInstanceLock::setActivationObserver(std::function<void(const QByteArray& token)> observer) {
    observer_ = std::move(observer);
}

bool QtInstanceLock::acquire() {
    if (lockFd_ >= 0) {
        return true;
    }
    const int folder = openFolder(QFile::encodeName(directory()), true);
    if (folder < 0) {
        return true;  // no usable lock: run as the first copy
    }
    const int fd = ::openat(folder, kLockFileName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    ::close(folder);
    if (fd < 0) {
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        return !taken;
    }
    lockFd_ = fd;
    listen();
    return true;
}

void QtInstanceLock::listen() {
    const QString path = directory() + QLatin1Char('/') + QLatin1String(kSocketFileName);
    server_ = std::make_unique<QLocalServer>();
    // A socket file left by a copy that was killed is stale: the lock we
    // hold proves that no copy listens on it.
    QLocalServer::removeServer(path);
    if (!server_->listen(path)) {
        server_.reset();
        return;
    }
    QObject::connect(server_.get(), &QLocalServer::newConnection, &context_,
                     [this] { onConnection(); });
}

void QtInstanceLock::onConnection() {
    while (QLocalSocket* client = server_->nextPendingConnection()) {
        QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        QTimer::singleShot(kClientTimeoutMs, client, [client] { client->abort(); });
        QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
            if (!client->canReadLine()) {
                if (client->bytesAvailable() > kMaxRequest) {
                    client->abort();
                }
                return;
            }
            const QByteArray line = client->readLine(kMaxRequest).trimmed();
            const qsizetype space = line.indexOf(' ');
            const QByteArray verb = space < 0 ? line : line.left(space);
            if (verb != kRequest) {
                client->abort();
                return;
            }
            QByteArray token = space < 0 ? QByteArray() : line.mid(space + 1).trimmed();
            if (!isPrintableToken(token)) {
                token.clear();
            }
            activate(token);
            client->write(&kAcknowledgement, 1);
            client->flush();
            client->disconnectFromServer();
        });
    }
}

void QtInstanceLock::activate(const QByteArray& token) {
    QWidget* window = nullptr;
    for (QWidget* candidate : QApplication::topLevelWidgets()) {
        if (candidate->isWindow() && candidate->windowTitle() == name_ && !candidate->isHidden()) {
            window = candidate;
            break;
        }
    }
    if (window) {
        if (window->isMinimized()) {
            window->showNormal();
        }
        window->raise();
        // A modal dialog open over the window takes the focus instead.
        QWidget* target = QApplication::activeModalWidget();
        if (!target || target->isHidden()) {
            target = window;
        } else {
            target->raise();
        }
        // The Wayland plugin reads the token from the environment when it
        // asks the compositor to activate the window.
        if (!token.isEmpty()) {
            qputenv("XDG_ACTIVATION_TOKEN", token);
        }
        target->activateWindow();
        if (!token.isEmpty()) {
            qunsetenv("XDG_ACTIVATION_TOKEN");
        }
        qCInfo(lcInstance, "raised the window on request of another copy");
    } else {
        qCInfo(lcInstance, "another copy asked, but no window is open yet");
    }
    if (observer_) {
        observer_(token);
    }
}

void QtInstanceLock::activateRunningCopy() {
    if (lockFd_ >= 0) {
        return;  // this is the running copy
    }
    const int folder = openFolder(QFile::encodeName(directory()), false);
    if (folder < 0) {
        return;
    }
    ::close(folder);

    const QDeadlineTimer deadline(kActivationTimeoutMs);
    QLocalSocket socket;
    socket.connectToServer(directory() + QLatin1Char('/') + QLatin1String(kSocketFileName));
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        return;
    }
    QByteArray request = QByteArray(kRequest.data(), kRequest.size());
    const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    if (!token.isEmpty() && isPrintableToken(token)) {
        request += ' ' + token;
    }
    request += '\n';
    socket.write(request);
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
        return;
    }
    // One byte of acknowledgement, or the running copy went away.
    while (socket.bytesAvailable() < 1 && !deadline.hasExpired() &&
           socket.state() == QLocalSocket::ConnectedState) {
        socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
    socket.abort();
}

}  // namespace ts::platform
