#include "platform/qt/qt_instance_lock.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

// Off unless enabled, e.g. QT_LOGGING_RULES="tallyshare.instance.info=true".
Q_LOGGING_CATEGORY(lcInstance, "tallyshare.instance", QtWarningMsg)

namespace ts::platform {

namespace {

constexpr char kLockFileName[] = "lock";
constexpr char kSocketFileName[] = "socket";
// When something that cannot be removed sits at the socket's name (a folder
// that is not empty), the running copy listens at "socket.1", "socket.2"
// and so on instead; a later copy tries the names in the same order.
constexpr int kSocketNames = 8;
constexpr QByteArrayView kRequest = "ACTIVATE";
constexpr char kAcknowledgement = '\x06';
// A request is one short line; anything longer is dropped.
constexpr qsizetype kMaxRequest = 1024;
constexpr qsizetype kMaxToken = 512;
// A client that sends nothing is dropped after this time.
constexpr int kClientTimeoutMs = 2000;
constexpr int kBacklog = 8;

// The folder is ours alone: a real directory (not a symbolic link), owned by
// this user, writable by nobody else.
bool isPrivateFolder(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Creates the folders leading to `path` that are missing, private to the
// user like the folder itself.
void createParents(const QByteArray& path) {
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1)) {
        const QByteArray parent = path.left(slash);
        if (::mkdir(parent.constData(), 0700) != 0 && errno != EEXIST) {
            return;
        }
    }
}

// Opens the lock folder, creating it with mode 0700; -1 when it is missing
// (and create is false) or not private.
int openFolder(const QByteArray& path, bool create, bool withParents = false) {
    if (path.isEmpty() || !path.startsWith('/')) {
        return -1;
    }
    if (create && withParents) {
        createParents(path);
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

// The socket's name in the folder: the usual one, or the n-th other one.
QByteArray socketName(int index) {
    QByteArray name(kSocketFileName);
    if (index > 0) {
        name += '.' + QByteArray::number(index);
    }
    return name;
}

// The address of the socket `name` in the folder. A path that does not fit
// into sun_path (108 bytes, a deep home folder) is reached through the open
// folder's descriptor in /proc instead, which is always short.
bool socketAddress(const QByteArray& folder, int folderFd, const QByteArray& name,
                   sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    QByteArray path = folder + '/' + name;
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path)) {
        path = "/proc/self/fd/" + QByteArray::number(folderFd) + '/' + name;
    }
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
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

// Waits until `fd` is ready for `events` or the deadline passes.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0) {
            return false;
        }
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(left));
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}

// One connected copy asking to be activated; it lives until it has sent
// its line, gone away or timed out.
class Client final : public QObject {
public:
    Client(int fd, QObject* parent, std::function<void(const QByteArray&)> onRequest)
        : QObject(parent),
          fd_(fd),
          notifier_(fd, QSocketNotifier::Read, this),
          onRequest_(std::move(onRequest)) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, this, [this] { read(); });
        QTimer::singleShot(kClientTimeoutMs, this, [this] { drop(); });
    }
    ~Client() override { closeSocket(); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

private:
    void read() {
        char chunk[256];
        for (;;) {
            const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
            if (n > 0) {
                buffer_.append(chunk, n);
                if (buffer_.contains('\n')) {
                    answer();
                    return;
                }
                if (buffer_.size() > kMaxRequest) {
                    drop();
                    return;
                }
                continue;
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                return;  // the rest comes later
            }
            drop();  // gone without a whole line
            return;
        }
    }

    void answer() {
        const QByteArray line = buffer_.left(buffer_.indexOf('\n')).trimmed();
        const qsizetype space = line.indexOf(' ');
        const QByteArray verb = space < 0 ? line : line.left(space);
        if (verb != kRequest) {
            drop();
            return;
        }
        QByteArray token = space < 0 ? QByteArray() : line.mid(space + 1).trimmed();
        if (!isPrintableToken(token)) {
            token.clear();
        }
        const auto onRequest = onRequest_;
        // One byte always fits into an empty socket buffer; a client that
        // went away meanwhile is no reason to fail.
        [[maybe_unused]] const ssize_t sent = ::send(fd_, &kAcknowledgement, 1, MSG_NOSIGNAL);
        drop();
        onRequest(token);
    }

    void drop() {
        closeSocket();
        deleteLater();
    }

    void closeSocket() {
        if (fd_ >= 0) {
            notifier_.setEnabled(false);
            ::close(fd_);
            fd_ = -1;
        }
    }

    int fd_;
    QSocketNotifier notifier_;
    QByteArray buffer_;
    std::function<void(const QByteArray&)> onRequest_;
};

}  // namespace

QtInstanceLock::QtInstanceLock(std::u16string_view name, std::u16string_view fallbackFolder)
    : name_(QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()))),
      fallback_(QString::fromUtf16(fallbackFolder.data(),
                                   static_cast<qsizetype>(fallbackFolder.size()))) {}

QtInstanceLock::~QtInstanceLock() {
    listener_.reset();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        // Removed while the lock is still held, so it is ours to remove.
        ::unlinkat(folderFd_, socketName_.constData(), 0);
    }
    if (folderFd_ >= 0) {
        ::close(folderFd_);
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

int QtInstanceLock::tryFolder(const QString& folder, bool withParents) {
    const QByteArray path = QFile::encodeName(folder);
    const int folderFd = openFolder(path, true, withParents);
    if (folderFd < 0) {
        return -1;
    }
    const int fd =
        ::openat(folderFd, kLockFileName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        ::close(folderFd);
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        ::close(folderFd);
        if (taken) {
            lockFolder_ = folder;
        }
        return taken ? 0 : -1;
    }
    lockFolder_ = folder;
    folderFd_ = folderFd;
    lockFd_ = fd;
    return 1;
}

bool QtInstanceLock::acquire() {
    if (lockFd_ >= 0) {
        return true;
    }
    int outcome = tryFolder(directory(), false);
    if (outcome < 0 && !fallback_.isEmpty()) {
        qCInfo(lcInstance, "the lock folder cannot be used; locking in the user's folder");
        outcome = tryFolder(fallback_, true);
    }
    if (outcome < 0) {
        lockFolder_.clear();
        return true;  // no usable lock anywhere: run as the first copy
    }
    if (outcome == 0) {
        return false;
    }
    if (lockFolder_ != fallback_ && fallbackHeld()) {
        // A copy that started while this folder could not be used runs on
        // the fallback lock: it is the running copy.
        ::close(lockFd_);
        ::close(folderFd_);
        lockFd_ = folderFd_ = -1;
        lockFolder_ = fallback_;
        return false;
    }
    listen();
    return true;
}

bool QtInstanceLock::fallbackHeld() const {
    if (fallback_.isEmpty()) {
        return false;
    }
    const int folderFd = openFolder(QFile::encodeName(fallback_), false);
    if (folderFd < 0) {
        return false;
    }
    const int fd = ::openat(folderFd, kLockFileName, O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    ::close(folderFd);
    if (fd < 0) {
        return false;
    }
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);  // also lets go at once if this copy got it
    return held;
}

void QtInstanceLock::listen() {
    const QByteArray folder = QFile::encodeName(lockFolder_);
    int fd = -1;
    for (int index = 0; index < kSocketNames && fd < 0; ++index) {
        const QByteArray name = socketName(index);
        sockaddr_un address{};
        if (!socketAddress(folder, folderFd_, name, address)) {
            return;
        }
        // Whatever sits at the socket's name is stale: the folder is ours
        // alone and the lock we hold proves that no copy listens there any
        // more.
        if (::unlinkat(folderFd_, name.constData(), 0) != 0 &&
            (errno == EISDIR || errno == EPERM)) {
            ::unlinkat(folderFd_, name.constData(), AT_REMOVEDIR);  // an empty folder
        }
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return;
        }
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            // Still taken (a folder that is not empty): the next name.
            qCInfo(lcInstance, "cannot listen at %s: %s", name.constData(), std::strerror(errno));
            ::close(fd);
            fd = -1;
            continue;
        }
        if (::listen(fd, kBacklog) != 0) {
            qCInfo(lcInstance, "cannot listen for other copies: %s", std::strerror(errno));
            ::close(fd);
            ::unlinkat(folderFd_, name.constData(), 0);
            return;
        }
        socketName_ = name;
    }
    if (fd < 0) {
        return;
    }
    listenFd_ = fd;
    listener_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(listener_.get(), &QSocketNotifier::activated, &context_,
                     [this] { onConnection(); });
}

void QtInstanceLock::onConnection() {
    for (;;) {
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            return;  // none left (or out of descriptors: tried again on the next wake)
        }
        new Client(client, &context_, [this](const QByteArray& token) { activate(token); });
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
    if (lockFd_ >= 0 || lockFolder_.isEmpty()) {
        return;  // this is the running copy, or there is none to ask
    }
    const QByteArray folder = QFile::encodeName(lockFolder_);
    const int folderFd = openFolder(folder, false);
    if (folderFd < 0) {
        return;
    }
    const QDeadlineTimer deadline(kActivationTimeoutMs);
    int fd = -1;
    // The running copy listens at the first of the names it could use.
    for (int index = 0; index < kSocketNames && fd < 0 && !deadline.hasExpired(); ++index) {
        sockaddr_un address{};
        if (!socketAddress(folder, folderFd, socketName(index), address)) {
            break;
        }
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            break;
        }
        int connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        // A full backlog makes a non-blocking Unix socket refuse with EAGAIN;
        // try again until the deadline.
        while (connected != 0 && (errno == EAGAIN || errno == EINTR) && !deadline.hasExpired()) {
            ::poll(nullptr, 0, 10);
            connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        }
        if (connected != 0 && errno != EINPROGRESS) {
            ::close(fd);
            fd = -1;  // nobody listens there (a stale socket, a folder, none)
        }
    }
    ::close(folderFd);
    if (fd < 0) {
        return;
    }
    QByteArray request = QByteArray(kRequest.data(), kRequest.size());
    const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    if (!token.isEmpty() && isPrintableToken(token)) {
        request += ' ' + token;
    }
    request += '\n';
    qsizetype sent = 0;
    while (sent < request.size() && waitFor(fd, POLLOUT, deadline)) {
        const ssize_t n = ::send(fd, request.constData() + sent,
                                 static_cast<std::size_t>(request.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            break;
        }
    }
    // One byte of acknowledgement, or the running copy went away.
    if (sent == request.size()) {
        char byte = 0;
        while (waitFor(fd, POLLIN, deadline)) {
            const ssize_t n = ::recv(fd, &byte, 1, 0);
            if (n >= 0 || (errno != EAGAIN && errno != EINTR)) {
                break;
            }
        }
    }
    ::close(fd);
}

}  // namespace ts::platform
