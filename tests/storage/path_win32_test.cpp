#include <string>

#include <gtest/gtest.h>

#include <windows.h>

#include "storage/path.h"
#include "storage/text.h"

namespace ts {
namespace {

TEST(PathBeside, ReplacesTheExecutablesNameAfterTheLastBackslash) {
    const struct {
        std::u16string_view executable;
        std::u16string_view result;
    } cases[] = {
        {u"C:\\Program Files\\Split\\split.exe", u"C:\\Program Files\\Split\\ts.cfg"},
        {u"\\split.exe", u"\\ts.cfg"},  // root folder without a drive
        {u"C:\\split.exe", u"C:\\ts.cfg"},
        {u"\\\\server\\share\\split.exe", u"\\\\server\\share\\ts.cfg"},
        {u"\\\\?\\C:\\a\\split.exe", u"\\\\?\\C:\\a\\ts.cfg"},
        {u"D:\\\u30c6\u30b9\u30c8\\\u5272\u308a\u52d8.exe", u"D:\\\u30c6\u30b9\u30c8\\ts.cfg"},
        {u"\\", u"\\ts.cfg"},  // position 0 is never examined
        {u"x", u"xts.cfg"},    // no separator: after the first unit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pathBeside(c.executable, u"ts.cfg"), c.result) << toUtf8(c.executable);
    }
}

TEST(PathBeside, TakesPathsUpToTheWideFunctionsLimit) {
    // Far beyond MAX_PATH is fine; the wide functions stop at 32767 units.
    const std::u16string folder = u"C:\\" + std::u16string(1000, u'd') + u"\\";
    EXPECT_EQ(pathBeside(folder + u"x.exe", u"ts.cfg"), folder + u"ts.cfg");
    EXPECT_EQ(pathBeside(folder + u"x.exe", std::u16string(32767, u'f')), u"");
    EXPECT_EQ(pathBeside(folder + u"x.exe", std::u16string(u"a\0b", 3)), u"");
}

TEST(PathBesideExecutable, IsInTheFolderOfThisTestProgram) {
    wchar_t buffer[32768];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, 32768);
    ASSERT_GT(n, 0u);
    std::u16string exe(reinterpret_cast<const char16_t*>(buffer), n);
    const std::u16string expected = exe.substr(0, exe.rfind(u'\\') + 1) + u"ts.cfg";
    EXPECT_EQ(pathBesideExecutable(u"ts.cfg"), expected);
}

}  // namespace
}  // namespace ts
