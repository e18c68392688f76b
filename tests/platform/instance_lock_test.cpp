#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "platform/qt/qt_instance_lock.h"

using ts::platform::QtInstanceLock;

namespace {

// Starts the helper program; it finds the lock folder through the
// XDG_RUNTIME_DIR of this process.
std::unique_ptr<QProcess> startHelper(const QStringList& arguments, const QByteArray& token = {}) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (token.isEmpty()) {
        environment.remove(QStringLiteral("XDG_ACTIVATION_TOKEN"));
    } else {
        environment.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"), QString::fromLatin1(token));
    }
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(TS_LOCK_HELPER), arguments);
    return process;
}

// A Unix-domain socket bound at `path` that listens but never accepts; -1
// on failure.
int silentListener(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || name.size() >= static_cast<qsizetype>(sizeof address.sun_path)) {
        return -1;
    }
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 1) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Waits for the helper while this process keeps answering events.
QByteArray finish(QProcess& process) {
    [&] { QTRY_VERIFY_WITH_TIMEOUT(process.state() == QProcess::NotRunning, 10000); }();
    return process.readAllStandardOutput().trimmed();
}

}  // namespace

class InstanceLockTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void folderIsPrivateAndReused();
    void twoCopiesStartedTogetherOneRuns();
    void killedCopyLeavesNothingStale();
    void unsafeFolderIsRefused_data();
    void unsafeFolderIsRefused();
    void unsafeFolderFallsBackToTheUserFolder_data();
    void unsafeFolderFallsBackToTheUserFolder();
    void leftoversAtTheSocketPathAreReplaced_data();
    void leftoversAtTheSocketPathAreReplaced();
    void tmpIsTheFallbackFolder();
    void activationReachesFirstCopy();
    void activationWaitIsBounded();

private:
    // Makes the preferred lock folder unusable in the way `kind` names.
    void spoilFolder(const QString& kind);

    std::unique_ptr<QTemporaryDir> runtime_;
    std::unique_ptr<QTemporaryDir> config_;
};

void InstanceLockTest::init() {
    runtime_ = std::make_unique<QTemporaryDir>();
    QVERIFY(runtime_->isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_->path()));
    config_ = std::make_unique<QTemporaryDir>();
    QVERIFY(config_->isValid());
    qunsetenv("XDG_CONFIG_HOME");  // helpers run without a fallback unless a test sets one
}

void InstanceLockTest::spoilFolder(const QString& kind) {
    const QByteArray folder = QFile::encodeName(runtime_->path() + QStringLiteral("/TALLY-SHARE"));
    const QByteArray elsewhere = QFile::encodeName(runtime_->path() + QStringLiteral("/elsewhere"));
    if (kind == QStringLiteral("link")) {
        QCOMPARE(::mkdir(elsewhere.constData(), 0700), 0);
        QCOMPARE(::symlink(elsewhere.constData(), folder.constData()), 0);
    } else if (kind == QStringLiteral("file")) {
        QFile file(QFile::decodeName(folder));
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (kind == QStringLiteral("other user")) {
        // Made first by someone else: only root can show it in a test.
        if (::geteuid() != 0) {
            QSKIP("needs root to give a folder to another user");
        }
        QCOMPARE(::mkdir(folder.constData(), 0700), 0);
        QCOMPARE(::chown(folder.constData(), 65534, 65534), 0);
    } else {
        QCOMPARE(::mkdir(folder.constData(), 0700), 0);
        QCOMPARE(::chmod(folder.constData(), static_cast<mode_t>(kind.toUInt(nullptr, 8))), 0);
    }
}

void InstanceLockTest::folderIsPrivateAndReused() {
    {
        QtInstanceLock lock;
        QCOMPARE(lock.directory(), runtime_->path() + QStringLiteral("/TALLY-SHARE"));
        QVERIFY(lock.acquire());
        QVERIFY(lock.holdsLock());
        QVERIFY(lock.acquire());  // asking again keeps it
        struct stat info {};
        QCOMPARE(::lstat(QFile::encodeName(lock.directory()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t{0700});
        // Within one process a second lock object is a second copy too.
        QtInstanceLock other;
        QVERIFY(!other.acquire());
        QVERIFY(!other.holdsLock());
    }
    // Released with the object: the next copy runs.
    QtInstanceLock again;
    QVERIFY(again.acquire());
    QVERIFY(again.holdsLock());
}

void InstanceLockTest::twoCopiesStartedTogetherOneRuns() {
    for (int round = 0; round < 3; ++round) {
        auto a = startHelper({QStringLiteral("hold"), QStringLiteral("1500")});
        auto b = startHelper({QStringLiteral("hold"), QStringLiteral("1500")});
        const QByteArray first = finish(*a);
        const QByteArray second = finish(*b);
        QVERIFY2((first == "first") != (second == "first"), first + " / " + second);
        QVERIFY(first.startsWith("first") || first.startsWith("second"));
        QVERIFY(second.startsWith("first") || second.startsWith("second"));
    }
}

void InstanceLockTest::killedCopyLeavesNothingStale() {
    auto holder = startHelper({QStringLiteral("hold"), QStringLiteral("60000")});
    QVERIFY(holder->waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(holder->canReadLine(), 10000);
    QCOMPARE(holder->readLine().trimmed(), QByteArray("first"));
    {
        QtInstanceLock blocked;
        QVERIFY(!blocked.acquire());
    }
    holder->kill();  // SIGKILL: no clean-up runs
    QVERIFY(holder->waitForFinished(10000));
    QtInstanceLock lock;
    QVERIFY(lock.acquire());
    QVERIFY(lock.holdsLock());
    // The socket left behind was replaced, and answers.
    QByteArray token;
    lock.setActivationObserver([&](const QByteArray& t) { token = t + "!"; });
    auto second = startHelper({QStringLiteral("activate")}, "after-kill");
    QVERIFY(finish(*second).startsWith("second"));
    QCOMPARE(token, QByteArray("after-kill!"));
}

void InstanceLockTest::unsafeFolderIsRefused_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("group-writable") << "0770";
    QTest::newRow("world-writable") << "0777";
    QTest::newRow("symbolic link") << "link";
    QTest::newRow("plain file") << "file";
}

void InstanceLockTest::unsafeFolderIsRefused() {
    QFETCH(QString, kind);
    const QByteArray folder = QFile::encodeName(runtime_->path() + QStringLiteral("/TALLY-SHARE"));
    const QByteArray elsewhere = QFile::encodeName(runtime_->path() + QStringLiteral("/elsewhere"));
    spoilFolder(kind);
    // Without a usable lock and without a fallback folder the program runs
    // as a first copy, and so does every other copy: none takes a lock in
    // that folder.
    QtInstanceLock lock;
    QVERIFY(lock.acquire());
    QVERIFY(!lock.holdsLock());
    QtInstanceLock other;
    QVERIFY(other.acquire());
    lock.activateRunningCopy();  // nothing to ask; returns at once
    QVERIFY(!QFile::exists(QFile::decodeName(folder) + QStringLiteral("/lock")));
    QVERIFY(!QFile::exists(QFile::decodeName(elsewhere) + QStringLiteral("/lock")));
}

void InstanceLockTest::unsafeFolderFallsBackToTheUserFolder_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("depth");  // extra length of the user folder's path
    QTest::newRow("world-writable") << "0777" << 0;
    QTest::newRow("symbolic link") << "link" << 0;
    QTest::newRow("made by another user") << "other user" << 0;
    QTest::newRow("plain file, deep user folder") << "file" << 120;
}

void InstanceLockTest::unsafeFolderFallsBackToTheUserFolder() {
    QFETCH(QString, kind);
    QFETCH(int, depth);
    spoilFolder(kind);
    QString config = config_->path();
    if (depth > 0) {
        // Too long for a socket address: reached through /proc instead.
        config += QLatin1Char('/') + QString(depth, QLatin1Char('d'));
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    const QString userFolder = config + QStringLiteral("/tally-share");
    QVERIFY(!QFile::exists(userFolder));

    QtInstanceLock lock(u"TALLY-SHARE", userFolder.toStdU16String());
    QVERIFY(lock.acquire());
    QVERIFY(lock.holdsLock());
    QCOMPARE(lock.lockDirectory(), userFolder);
    QVERIFY(lock.listening());
    struct stat info {};
    QCOMPARE(::lstat(QFile::encodeName(userFolder).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, mode_t{0700});

    // Another copy, in another process, gives way and its request arrives.
    QByteArray token;
    lock.setActivationObserver([&](const QByteArray& t) { token = t + "!"; });
    auto second = startHelper({QStringLiteral("activate")}, "from-fallback");
    QVERIFY(finish(*second).startsWith("second"));
    QCOMPARE(token, QByteArray("from-fallback!"));
    // A user folder that is itself a link is refused like the other one.
    QtInstanceLock viaLink(u"TALLY-SHARE",
                           (config_->path() + QStringLiteral("/link")).toStdU16String());
    QVERIFY(QFile::link(userFolder, config_->path() + QStringLiteral("/link")));
    QVERIFY(viaLink.acquire());
    QVERIFY(!viaLink.holdsLock());
    QVERIFY(viaLink.lockDirectory().isEmpty());

    // The usual folder usable again while this copy runs on the fallback:
    // a new copy still gives way to it.
    const QString spoiled = runtime_->path() + QStringLiteral("/TALLY-SHARE");
    QVERIFY(QFileInfo(spoiled).isDir() && !QFileInfo(spoiled).isSymLink()
                ? QDir(spoiled).rmdir(spoiled)
                : QFile::remove(spoiled));
    auto late = startHelper({QStringLiteral("activate")}, "late");
    QVERIFY(finish(*late).startsWith("second"));
    QCOMPARE(token, QByteArray("late!"));
    QtInstanceLock usual;  // no fallback given: takes the usual folder
    QVERIFY(usual.acquire());
    QCOMPARE(usual.lockDirectory(), spoiled);
}

void InstanceLockTest::leftoversAtTheSocketPathAreReplaced_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("stale socket") << "socket";
    QTest::newRow("plain file") << "file";
    QTest::newRow("empty folder") << "folder";
    // Cannot be removed: the first copy listens under another name.
    QTest::newRow("folder that is not empty") << "full-folder";
}

void InstanceLockTest::leftoversAtTheSocketPathAreReplaced() {
    QFETCH(QString, kind);
    const QString folder = runtime_->path() + QStringLiteral("/TALLY-SHARE");
    const QString socket = folder + QStringLiteral("/socket");
    QCOMPARE(::mkdir(QFile::encodeName(folder).constData(), 0700), 0);
    if (kind == QStringLiteral("socket")) {
        const int fd = silentListener(socket);
        QVERIFY(fd >= 0);
        ::close(fd);  // the file stays, nobody listens
    } else if (kind == QStringLiteral("file")) {
        QFile file(socket);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else {
        QVERIFY(QDir().mkdir(socket));
        if (kind == QStringLiteral("full-folder")) {
            QFile inside(socket + QStringLiteral("/kept"));
            QVERIFY(inside.open(QIODevice::WriteOnly));
        }
    }
    {
        QtInstanceLock lock;
        QVERIFY(lock.acquire());
        QVERIFY(lock.listening());
        QByteArray token;
        lock.setActivationObserver([&](const QByteArray& t) { token = t + "!"; });
        auto second = startHelper({QStringLiteral("activate")}, "past-" + kind.toLatin1());
        QVERIFY(finish(*second).startsWith("second"));
        QCOMPARE(token, "past-" + kind.toLatin1() + "!");
    }
    // What the first copy could not remove it leaves alone; its own socket
    // goes with it.
    QCOMPARE(QFile::exists(socket + QStringLiteral("/kept")),
             kind == QStringLiteral("full-folder"));
    QVERIFY(!QFile::exists(socket + QStringLiteral(".1")));
}

void InstanceLockTest::tmpIsTheFallbackFolder() {
    const QString expected = QStringLiteral("/tmp/TALLY-SHARE-%1").arg(::geteuid());
    qputenv("XDG_RUNTIME_DIR", "");
    QCOMPARE(QtInstanceLock().directory(), expected);
    qunsetenv("XDG_RUNTIME_DIR");
    QCOMPARE(QtInstanceLock().directory(), expected);
    QCOMPARE(QtInstanceLock(u"OTHER").directory(),
             QStringLiteral("/tmp/OTHER-%1").arg(::geteuid()));
}

void InstanceLockTest::activationReachesFirstCopy() {
    QtInstanceLock lock;
    QVERIFY(lock.acquire());
    QVERIFY(lock.holdsLock());
    QWidget window;
    window.setWindowTitle(QStringLiteral("TALLY-SHARE"));
    window.resize(200, 100);
    window.showMinimized();
    QWidget bystander;  // another title: left alone
    bystander.setWindowTitle(QStringLiteral("TALLY"));
    bystander.showMinimized();
    QVERIFY(window.isMinimized());

    std::vector<QByteArray> tokens;
    lock.setActivationObserver([&](const QByteArray& token) {
        tokens.push_back(token);
        // The token is in the environment only while activating.
        QVERIFY(qEnvironmentVariableIsEmpty("XDG_ACTIVATION_TOKEN"));
    });
    auto second = startHelper({QStringLiteral("activate")}, "token-123_abc");
    QVERIFY(finish(*second).startsWith("second"));
    QCOMPARE(tokens, std::vector<QByteArray>{"token-123_abc"});
    QVERIFY(!window.isMinimized());
    QVERIFY(bystander.isMinimized());

    // Without a token, and with one that is not printable text.
    auto plain = startHelper({QStringLiteral("activate")});
    QVERIFY(finish(*plain).startsWith("second"));
    auto odd = startHelper({QStringLiteral("activate")}, "bad token");
    QVERIFY(finish(*odd).startsWith("second"));
    QCOMPARE(tokens.size(), std::size_t{3});
    QCOMPARE(tokens[1], QByteArray());
    QCOMPARE(tokens[2], QByteArray());

    // The first copy asking itself does nothing.
    lock.activateRunningCopy();
    QCOMPARE(tokens.size(), std::size_t{3});
}

void InstanceLockTest::activationWaitIsBounded() {
    // A copy that holds the lock but never answers: the second copy gives up
    // after its bounded wait and leaves the socket in place.
    const QString folder = runtime_->path() + QStringLiteral("/TALLY-SHARE");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const int fd = ::open(QFile::encodeName(folder + QStringLiteral("/lock")).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    const int silent = silentListener(folder + QStringLiteral("/socket"));
    QVERIFY(silent >= 0);

    auto second = startHelper({QStringLiteral("activate")});
    // Not answering events here: the helper must not wait for us.
    QVERIFY(second->waitForFinished(10000));
    const QByteArray output = second->readAllStandardOutput().trimmed();
    QVERIFY2(output.startsWith("second "), output);
    const int elapsed = output.mid(7).toInt();
    QVERIFY2(elapsed >= QtInstanceLock::kActivationTimeoutMs - 50 && elapsed < 1500, output);
    QVERIFY(QFile::exists(folder + QStringLiteral("/socket")));

    // No socket at all: it returns at once.
    ::close(silent);
    QVERIFY(QFile::remove(folder + QStringLiteral("/socket")));
    auto alone = startHelper({QStringLiteral("activate")});
    QVERIFY(alone->waitForFinished(10000));
    const QByteArray quick = alone->readAllStandardOutput().trimmed();
    QVERIFY2(quick.startsWith("second ") && quick.mid(7).toInt() < 300, quick);
    ::close(fd);
}

int runInstanceLockTests(int argc, char** argv) {
    InstanceLockTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "instance_lock_test.moc"
