#include <climits>
#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "scratch.h"
#include "storage/data_path.h"
#include "storage/path.h"
#include "storage/text.h"

namespace ts {
namespace {

TEST(SettingsPlace, DecisionTable) {
    const std::u16string beside = u"/opt/ts/ts.cfg";
    const struct {
        const char* what;
        bool portable;
        std::u16string_view besideExecutable;
        bool besideExists;
        std::u16string_view xdg;
        std::u16string_view home;
        std::u16string_view result;
    } cases[] = {
        {"portable, no file yet", true, beside, false, u"/x", u"/home/u", beside},
        {"portable, file there", true, beside, true, u"", u"/home/u", beside},
        {"portable, executable unknown", true, u"", false, u"/x", u"/home/u", u""},
        {"installed, file beside wins", false, beside, true, u"/x", u"/home/u", beside},
        {"installed, XDG set", false, beside, false, u"/x/cfg", u"/home/u",
         u"/x/cfg/tally-share/ts.cfg"},
        {"installed, XDG with trailing slashes", false, beside, false, u"/x/cfg//", u"/home/u",
         u"/x/cfg/tally-share/ts.cfg"},
        {"installed, XDG is the root", false, beside, false, u"/", u"/home/u",
         u"/tally-share/ts.cfg"},
        {"installed, XDG empty", false, beside, false, u"", u"/home/u",
         u"/home/u/.config/tally-share/ts.cfg"},
        {"installed, XDG relative", false, beside, false, u"cfg", u"/home/u/",
         u"/home/u/.config/tally-share/ts.cfg"},
        {"installed, XDG relative to dot", false, beside, false, u"./cfg", u"/home/u",
         u"/home/u/.config/tally-share/ts.cfg"},
        {"installed, home relative", false, beside, false, u"", u"home/u", u""},
        {"installed, no home", false, beside, false, u"", u"", u""},
        {"installed, executable unknown", false, u"", true, u"", u"/home/u",
         u"/home/u/.config/tally-share/ts.cfg"},
    };
    for (const auto& c : cases) {
        DataPlaceInputs inputs;
        inputs.portable = c.portable;
        inputs.besideExecutable = c.besideExecutable;
        inputs.besideExists = c.besideExists;
        inputs.xdgConfigHome = c.xdg;
        inputs.home = c.home;
        EXPECT_EQ(toUtf8(chooseSettingsPath(inputs, u"ts.cfg")), toUtf8(c.result)) << c.what;
    }
}

TEST(SettingsPlace, RefusesPathsThePlatformCannotTake) {
    const std::u16string longFolder = u"/" + std::u16string(PATH_MAX - 8, u'd');
    EXPECT_EQ(userDataFolderFor(longFolder, u"/home/u"), u"");
    DataPlaceInputs inputs;
    inputs.portable = false;
    inputs.xdgConfigHome = u"/" + std::u16string(PATH_MAX - 20, u'd');  // folder fits, file not
    EXPECT_NE(userDataFolderFor(inputs.xdgConfigHome, u""), u"");
    EXPECT_EQ(chooseSettingsPath(inputs, u"ts.cfg"), u"");
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

mode_t modeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST(SettingsPlace, InstalledBuildMakesPrivateFoldersFromTheEnvironment) {
    test::Scratch dir;
    ASSERT_TRUE(dir.ok());
    const ScopedEnv xdg("XDG_CONFIG_HOME", dir.file("a/b"));
    const ScopedEnv home("HOME", dir.file("home"));

    const std::u16string path = settingsFilePath(false, u"ts.cfg");
    EXPECT_EQ(toUtf8(path), dir.file("a/b/tally-share/ts.cfg"));
    EXPECT_EQ(modeOf(dir.file("a")), 0700u);
    EXPECT_EQ(modeOf(dir.file("a/b")), 0700u);
    EXPECT_EQ(modeOf(dir.file("a/b/tally-share")), 0700u);
    EXPECT_EQ(dir.listing(), "a");  // nothing under $HOME, no file yet

    // An existing folder keeps the mode its owner gave it.
    ASSERT_EQ(chmod(dir.file("a/b/tally-share").c_str(), 0750), 0);
    EXPECT_TRUE(makeUserDataFolder());
    EXPECT_EQ(modeOf(dir.file("a/b/tally-share")), 0750u);

    // A relative $XDG_CONFIG_HOME is ignored in favour of $HOME/.config.
    const ScopedEnv relative("XDG_CONFIG_HOME", "relative/cfg");
    EXPECT_EQ(toUtf8(settingsFilePath(false, u"ts.cfg")),
              dir.file("home/.config/tally-share/ts.cfg"));
    EXPECT_EQ(modeOf(dir.file("home/.config/tally-share")), 0700u);

    // A file in the way of the folder is no folder.
    const ScopedEnv blocked("XDG_CONFIG_HOME", dir.file("file"));
    test::writeBytes(dir.file("file"), "x");
    EXPECT_FALSE(makeUserDataFolder());

    // The portable build stays beside the executable whatever the environment says.
    EXPECT_EQ(settingsFilePath(true, u"ts.cfg"), pathBesideExecutable(u"ts.cfg"));
}

}  // namespace
}  // namespace ts
