// The program as a process: started, asked to end by the desktop, started
// twice, started twice at the same moment, and killed.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/spawn_program.h"

namespace {

namespace tools = ts::tools;
namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Generous: a sanitizer build starts Qt several times slower.
constexpr auto kStartTimeout = 30s;
constexpr auto kExitTimeout = 30s;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One started copy of the program, its standard error read through a pipe.
class Copy {
public:
    Copy(const fs::path& program, const fs::path& runtimeDir, const fs::path& configDir) {
        const auto spawned = tools::spawnWithStderrPipe(
            program.string(),
            {"XDG_RUNTIME_DIR=" + runtimeDir.string(), "XDG_CONFIG_HOME=" + configDir.string(),
             "QT_QPA_PLATFORM=offscreen", "QT_LOGGING_RULES=tallyshare.*.info=true"});
        if (spawned.pid < 0) {
            ADD_FAILURE() << "cannot start " << program;
            return;
        }
        pid_ = spawned.pid;
        errFd_ = spawned.stderrFd;
        ::fcntl(errFd_, F_SETFL, O_NONBLOCK);
    }

    ~Copy() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (errFd_ >= 0) {
            ::close(errFd_);
        }
    }
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;

    pid_t pid() const { return pid_; }
    void signal(int number) const { ::kill(pid_, number); }

    // Waits until standard error holds `text`; false when the copy ended
    // or the time ran out first.
    bool waitForOutput(const std::string& text, Clock::duration timeout = kStartTimeout) {
        const auto deadline = Clock::now() + timeout;
        while (Clock::now() < deadline) {
            drain();
            if (output_.find(text) != std::string::npos) {
                return true;
            }
            if (exited()) {
                drain();
                return output_.find(text) != std::string::npos;
            }
            pollfd fd{errFd_, POLLIN, 0};
            ::poll(&fd, 1, 20);
        }
        return false;
    }

    bool shown() { return waitForOutput("dialog 101 is shown"); }

    // The exit status, or nothing when the copy still runs after `timeout`.
    std::optional<int> waitForExit(Clock::duration timeout = kExitTimeout) {
        const auto deadline = Clock::now() + timeout;
        while (!exited() && Clock::now() < deadline) {
            drain();
            std::this_thread::sleep_for(5ms);
        }
        drain();
        return status_;
    }

    bool exited() {
        if (status_) {
            return true;
        }
        int raw = 0;
        if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            return true;
        }
        return false;
    }

    const std::string& output() {
        drain();
        return output_;
    }

private:
    void drain() {
        char buffer[4096];
        ssize_t n = 0;
        while ((n = ::read(errFd_, buffer, sizeof buffer)) > 0) {
            output_.append(buffer, static_cast<std::size_t>(n));
        }
    }

    pid_t pid_ = -1;
    int errFd_ = -1;
    std::optional<int> status_;
    std::string output_;
};

class ProcessTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("ts-process-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "app");
        fs::create_directories(dir_ / "runtime");
        fs::permissions(dir_ / "runtime", fs::perms::owner_all);
        // The settings file lives beside the executable, so each test runs
        // its own copy of it.
        program_ = dir_ / "app" / "tally-share";
        fs::copy_file(TS_PROGRAM, program_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::unique_ptr<Copy> start() {
        return std::make_unique<Copy>(program_, dir_ / "runtime", dir_ / "config");
    }
    fs::path settings() const { return dir_ / "app" / "ts.cfg"; }

    fs::path dir_;
    fs::path program_;
};

TEST_F(ProcessTest, ARequestToEndFromTheDesktopSavesAndExitsWithOne) {
    for (int number : {SIGTERM, SIGINT, SIGHUP}) {
        fs::remove(settings());
        auto copy = start();
        ASSERT_TRUE(copy->shown()) << copy->output();
        copy->signal(number);
        EXPECT_EQ(copy->waitForExit(), 1) << "signal " << number << "\n" << copy->output();
        const std::string bytes = readFile(settings());
        // "@TALLYSHARE/CONFIG" in UTF-16LE opens the file.
        EXPECT_EQ(bytes.substr(0, 4), std::string("@\0T\0", 4)) << "signal " << number;
    }
}

TEST_F(ProcessTest, ASignalWithAFailingSaveRescuesThePartyWithoutWaitingForTheUser) {
    // A folder where the settings file should be: the start reads nothing,
    // and every save fails, also for root.
    fs::create_directory(settings());
    auto copy = start();
    ASSERT_TRUE(copy->shown()) << copy->output();
    copy->signal(SIGTERM);
    EXPECT_EQ(copy->waitForExit(), 1) << copy->output();
    std::vector<fs::path> rescued;
    for (const auto& entry : fs::directory_iterator(dir_ / "config" / "tally-share")) {
        if (entry.path().filename().string().rfind("ts.cfg.rescued-", 0) == 0) {
            rescued.push_back(entry.path());
        }
    }
    ASSERT_EQ(rescued.size(), 1u) << copy->output();
    EXPECT_NE(copy->output().find(rescued[0].string()), std::string::npos) << copy->output();
    EXPECT_EQ(readFile(rescued[0]).substr(0, 4), std::string("@\0T\0", 4));
}

TEST_F(ProcessTest, ASignalAtTheRescueNoticeEndsTheProgramAndTheNoticeComesAgain) {
    const fs::path folder = dir_ / "config" / "tally-share";
    fs::create_directories(folder);
    const std::string copyName = "ts.cfg.rescued-20261207-142501";
    std::ofstream(folder / copyName) << "x";
    for (int number : {SIGTERM, SIGHUP, SIGINT}) {
        auto copy = start();
        ASSERT_TRUE(copy->waitForOutput("message box is shown")) << copy->output();
        copy->signal(number);
        EXPECT_EQ(copy->waitForExit(), 1) << "signal " << number << "\n" << copy->output();
        EXPECT_EQ(copy->output().find("dialog 101 is shown"), std::string::npos)
            << "signal " << number << ": the main window opened after the quit request";
        EXPECT_EQ(readFile(folder / ".rescued-told").find(copyName), std::string::npos)
            << "signal " << number << ": the unseen notice counts as notified";
        EXPECT_FALSE(fs::exists(settings()));
    }
}

TEST_F(ProcessTest, ASecondCopyRaisesTheFirstAndLeavesTheFileAlone) {
    auto first = start();
    ASSERT_TRUE(first->shown()) << first->output();
    first->signal(SIGTERM);  // writes ts.cfg
    ASSERT_EQ(first->waitForExit(), 1);
    const std::string before = readFile(settings());
    const auto writtenAt = fs::last_write_time(settings());

    first = start();
    ASSERT_TRUE(first->shown()) << first->output();
    const auto started = Clock::now();
    auto second = start();
    EXPECT_EQ(second->waitForExit(), 0) << second->output();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    RecordProperty("second_copy_ms", static_cast<int>(took.count()));
    EXPECT_EQ(second->output().find("is shown"), std::string::npos)
        << "the second copy showed a window";
    EXPECT_TRUE(first->waitForOutput("raised the window")) << first->output();
    EXPECT_FALSE(first->exited());
    EXPECT_EQ(readFile(settings()), before);
    EXPECT_EQ(fs::last_write_time(settings()), writtenAt);

    first->signal(SIGTERM);
    EXPECT_EQ(first->waitForExit(), 1);
}

TEST_F(ProcessTest, OfTwoCopiesStartedTogetherExactlyOneRuns) {
    for (int round = 0; round < 20; ++round) {
        auto a = start();
        auto b = start();
        // One of them gives way at once; the other shows its window.
        const auto deadline = Clock::now() + kStartTimeout;
        while (!a->exited() && !b->exited() && Clock::now() < deadline) {
            std::this_thread::sleep_for(5ms);
        }
        Copy& quitter = a->exited() ? *a : *b;
        Copy& runner = a->exited() ? *b : *a;
        ASSERT_EQ(quitter.waitForExit(), 0) << "round " << round << "\n" << quitter.output();
        ASSERT_TRUE(runner.shown()) << "round " << round << "\n" << runner.output();
        EXPECT_FALSE(runner.exited()) << "round " << round;
        runner.signal(SIGTERM);
        ASSERT_EQ(runner.waitForExit(), 1) << "round " << round;
    }
}

TEST_F(ProcessTest, AKilledCopyLeavesNothingThatStopsTheNextStart) {
    auto first = start();
    ASSERT_TRUE(first->shown()) << first->output();
    first->signal(SIGKILL);
    EXPECT_EQ(first->waitForExit(), 128 + SIGKILL);

    auto next = start();
    ASSERT_TRUE(next->shown()) << next->output();
    EXPECT_FALSE(next->exited());
    next->signal(SIGTERM);
    EXPECT_EQ(next->waitForExit(), 1);
}

}  // namespace
