#include <climits>
#include <string>

#include <gtest/gtest.h>

#include <unistd.h>

#include "storage/path.h"
#include "storage/text.h"

namespace ts {
namespace {

TEST(PathBeside, ReplacesTheExecutablesName) {
    const struct {
        std::u16string_view executable;
        std::u16string_view result;
    } cases[] = {
        {u"/opt/split/split", u"/opt/split/ts.cfg"},
        {u"/split", u"/ts.cfg"},  // root folder
        {u"/", u"/ts.cfg"},       // position 0 is never examined
        {u"x", u"xts.cfg"},       // no separator: after the first unit
        {u"ab", u"ats.cfg"},
        {u"/a/b/", u"/a/b/ts.cfg"},
        {u"//x", u"//ts.cfg"},
        {u"/\u30c6\u30b9\u30c8/\u5272\u308a\u52d8", u"/\u30c6\u30b9\u30c8/ts.cfg"},
        {u"C:\\split.exe", u"Cts.cfg"},  // a backslash is no separator here
        {u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pathBeside(c.executable, u"ts.cfg"), c.result) << toUtf8(c.executable);
    }
}

TEST(PathBeside, RefusesWhatThePlatformCannotTake) {
    // PATH_MAX counts bytes with the terminator.
    const std::u16string folder = u"/" + std::u16string(PATH_MAX - 10, u'd') + u"/";
    const std::u16string exe = folder + u"exe";
    const std::size_t room = PATH_MAX - 1 - folder.size();
    EXPECT_EQ(pathBeside(exe, std::u16string(room, u'f')).size(), PATH_MAX - 1u);
    EXPECT_EQ(pathBeside(exe, std::u16string(room + 1, u'f')), u"");
    // Three UTF-8 bytes per unit count against the limit.
    EXPECT_EQ(pathBeside(exe, std::u16string(room / 3 + 1, u'\u65b0')), u"");
    EXPECT_EQ(pathBeside(u"/a/b", std::u16string(u"x\0y", 3)), u"");
}

TEST(PathBesideExecutable, IsInTheFolderOfThisTestProgram) {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    ASSERT_GT(n, 0);
    std::string exe(buffer, static_cast<std::size_t>(n));
    const std::string expected = exe.substr(0, exe.rfind('/') + 1) + "ts.cfg";
    EXPECT_EQ(toUtf8(pathBesideExecutable(u"ts.cfg")), expected);
    EXPECT_EQ(pathBesideExecutable(std::u16string(PATH_MAX, u'f')), u"");
}

}  // namespace
}  // namespace ts
