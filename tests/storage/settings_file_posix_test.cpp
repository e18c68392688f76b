// Settings-file cases that need POSIX: permission bits, symbolic links,
// file size limits and giving up root.

#include <csignal>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "settings_fixture.h"
#include "storage/settings_file.h"
#include "storage/text.h"

namespace ts {
namespace {

using test::GroupValues;
using test::makeParty;
using test::readBytes;
using test::SettingsFile;
using test::writeBytes;

TEST_F(SettingsFile, KeepsPermissionBitsAndLinks) {
    auto party = makeParty(u"FIRST", 1, 1, {{u"A"}});
    writeBytes(dir.file("ts.cfg"), "old");
    ASSERT_EQ(chmod(dir.file("ts.cfg").c_str(), 0640), 0);
    ASSERT_TRUE(saveToPath(path(), *party));
    struct stat st {};
    ASSERT_EQ(stat(dir.file("ts.cfg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A new file gets the usual mode less the umask, but only its owner may
    // read it in a folder that only its owner may enter.
    const mode_t mask = umask(022);
    ASSERT_TRUE(saveToPath(dir.wide("private.cfg"), *party));
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    ASSERT_TRUE(saveToPath(dir.wide("fresh.cfg"), *party));
    ASSERT_EQ(chmod(dir.path().c_str(), 0700), 0);
    umask(mask);
    ASSERT_EQ(stat(dir.file("private.cfg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    ASSERT_EQ(stat(dir.file("fresh.cfg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);

    // A link stays a link; the file it leads to is replaced.
    ASSERT_EQ(mkdir(dir.file("real").c_str(), 0700), 0);
    writeBytes(dir.file("real/target.cfg"), "old");
    ASSERT_EQ(symlink("real/target.cfg", dir.file("link.cfg").c_str()), 0);
    ASSERT_TRUE(saveToPath(dir.wide("link.cfg"), *party));
    ASSERT_EQ(lstat(dir.file("link.cfg").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readBytes(dir.file("real/target.cfg")), bytes());

    // A link to a file that does not exist yet creates that file.
    ASSERT_EQ(symlink("real/later.cfg", dir.file("dangling.cfg").c_str()), 0);
    ASSERT_TRUE(saveToPath(dir.wide("dangling.cfg"), *party));
    EXPECT_EQ(readBytes(dir.file("real/later.cfg")), bytes());

    // A link loop and a link to a folder are refused.
    ASSERT_EQ(symlink("loop.cfg", dir.file("loop.cfg").c_str()), 0);
    EXPECT_FALSE(saveToPath(dir.wide("loop.cfg"), *party));
    ASSERT_EQ(symlink("real", dir.file("folder.cfg").c_str()), 0);
    EXPECT_FALSE(saveToPath(dir.wide("folder.cfg"), *party));
    EXPECT_EQ(test::Scratch::listingOf(dir.file("real")), "later.cfg target.cfg");
}

// Runs `body` in a child process and gives its exit status, or -1.
template <typename Body>
int inChild(Body body) {
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(body());
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

TEST_F(SettingsFile, WriteFailingHalfWayLeavesThePreviousFile) {
    auto previous = makeParty(u"FIRST", 1, 100, {{u"A"}, {u"B"}});
    ASSERT_TRUE(saveToPath(path(), *previous));
    const std::string before = bytes();

    std::vector<GroupValues> many;
    for (int i = 0; i < 200; ++i) {
        many.push_back({u"group " + decimalText(i)});
    }
    auto bigger = makeParty(u"FIRST", 2, 100, many);
    // The file size limit makes a write fail after 1000 bytes; with SIGXFSZ
    // ignored the write reports EFBIG instead of ending the process.
    const auto saveWithLimit = [&](rlim_t bytes) {
        return inChild([&] {
            const rlimit limit{bytes, bytes};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0 || signal(SIGXFSZ, SIG_IGN) == SIG_ERR) {
                return 2;
            }
            return saveToPath(path(), *bigger) ? 1 : 0;
        });
    };
    EXPECT_EQ(saveWithLimit(1000), 0);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(dir.listing(), "ts.cfg");
    // With room for the whole file the same save succeeds.
    EXPECT_EQ(saveWithLimit(1 << 20), 1);
    EXPECT_NE(bytes(), before);
}

TEST_F(SettingsFile, UnwritableFolderLeavesThePreviousFile) {
    auto party = makeParty(u"FIRST", 1, 100, {{u"A"}});
    ASSERT_TRUE(saveToPath(path(), *party));
    const std::string before = bytes();
    party->total = 2;

    // A folder that is a file.
    writeBytes(dir.file("plain"), "x");
    EXPECT_FALSE(saveToPath(dir.wide("plain/ts.cfg"), *party));

    // A read-only folder; root ignores permission bits, so the save runs
    // in a child that gives up root first.
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    const int status = inChild([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return 2;
        }
        return saveToPath(path(), *party) ? 1 : 0;
    });
    ASSERT_EQ(chmod(dir.path().c_str(), 0700), 0);
    if (status == 2) {
        GTEST_SKIP() << "cannot give up root here";
    }
    EXPECT_EQ(status, 0);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(dir.listing(), "plain ts.cfg");
}

}  // namespace
}  // namespace ts
