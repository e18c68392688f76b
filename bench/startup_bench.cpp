// Whole-process start-up: the program is started with a 10-group settings
// file, shows its window, is asked to end (SIGTERM: it saves and exits), and
// the wall time and peak memory of the whole run are taken. A bare Qt 6
// dialog with a list view is started the same way in the same run, and the
// ratio of the two is reported.
//
// Usage: startup_bench [ROUNDS]   (QT_QPA_PLATFORM defaults to offscreen)
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/party.h"
#include "storage/settings_file.h"
#include "storage/text.h"
#include "tools/spawn_program.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Run {
    double seconds = 0;
    long peakKiB = 0;
    bool ok = false;
};

// Starts `program`, waits for its window, asks it to end, and measures.
Run runOnce(const fs::path& program, const fs::path& runtimeDir, const fs::path& configDir) {
    Run run;
    std::vector<std::string> overrides{"XDG_RUNTIME_DIR=" + runtimeDir.string(),
                                       "XDG_CONFIG_HOME=" + configDir.string(),
                                       "QT_LOGGING_RULES=tallyshare.windows.info=true"};
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        overrides.emplace_back("QT_QPA_PLATFORM=offscreen");
    }
    const auto start = Clock::now();
    const auto spawned = ts::tools::spawnWithStderrPipe(program.string(), overrides);
    if (spawned.pid < 0) {
        return run;
    }
    const pid_t pid = spawned.pid;
    const int errFd = spawned.stderrFd;
    std::string output;
    char buffer[1024];
    while (output.find("is shown") == std::string::npos) {
        pollfd fd{errFd, POLLIN, 0};
        if (::poll(&fd, 1, 30000) <= 0) {
            break;
        }
        const ssize_t n = ::read(errFd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        output.append(buffer, static_cast<std::size_t>(n));
    }
    ::kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.peakKiB = usage.ru_maxrss;
    run.ok = output.find("is shown") != std::string::npos && WIFEXITED(status);
    ::close(errFd);
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const fs::path dir =
        fs::temp_directory_path() / ("ts-startup-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir / "runtime");
    fs::permissions(dir / "runtime", fs::perms::owner_all);
    const fs::path program = dir / "tally-share";
    fs::copy_file(TS_PROGRAM, program);

    ts::Party party(u"FIRST");
    party.total = 120000;
    party.unit = 100;
    for (int i = 0; i < 10; ++i) {
        auto group = ts::Group::create(u"グループ" + ts::decimalText(i + 1));
        group->people = 1 + i % 4;
        group->ratio = 100 - 10 * (i % 3);
        group->advance = i == 0 ? 120000 : 0;
        party.addGroup(std::move(group));
    }
    const auto settings = ts::fromUtf8((dir / "ts.cfg").string());
    ts::saveToPath(settings, party);

    std::vector<double> ourTimes, bareTimes, ourPeaks, barePeaks;
    for (int i = 0; i < rounds; ++i) {
        // Interleaved, so that both see the same machine.
        const Run ours = runOnce(program, dir / "runtime", dir / "config");
        const Run bare = runOnce(TS_BARE_DIALOG, dir / "runtime", dir / "config");
        if (!ours.ok || !bare.ok) {
            std::fprintf(stderr, "round %d failed (program %d, bare dialog %d)\n", i, ours.ok,
                         bare.ok);
            fs::remove_all(dir);
            return 1;
        }
        ourTimes.push_back(ours.seconds);
        bareTimes.push_back(bare.seconds);
        ourPeaks.push_back(static_cast<double>(ours.peakKiB));
        barePeaks.push_back(static_cast<double>(bare.peakKiB));
    }
    fs::remove_all(dir);

    const double t = median(ourTimes), tb = median(bareTimes);
    const double m = median(ourPeaks), mb = median(barePeaks);
    std::printf("start, show, close and save; median of %d rounds\n", rounds);
    std::printf("%-22s %10s %14s\n", "", "wall ms", "peak RSS KiB");
    std::printf("%-22s %10.1f %14.0f\n", "TALLY-SHARE", t * 1000, m);
    std::printf("%-22s %10.1f %14.0f\n", "bare Qt dialog", tb * 1000, mb);
    std::printf("%-22s %10.2f %14.2f\n", "ratio", t / tb, m / mb);
    return 0;
}
