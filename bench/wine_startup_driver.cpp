// Windows side of bench/wine_startup.sh: starts the program with a 10-group
// settings file beside it, waits until its main window is visible, asks it
// to close (it saves and exits), and reports the median times and the peak
// working set over the rounds.
//
// Usage: wine_startup_driver PROGRAM.exe [ROUNDS]
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

double now() {
    static const double frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t{};
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

// The settings file the program reads at start: UTF-16LE records, each with
// a line feed and a zero unit.
void writeSettings(const std::wstring& path) {
    std::u16string units;
    const auto record = [&units](const std::u16string& text) {
        units += text;
        units += u'\n';
        units += u'\0';
    };
    record(u"@TALLYSHARE/CONFIG,1.00");
    record(u"PEOPLE,\"FIRST\",120000,100,2024/3/5");
    for (int i = 0; i < 10; ++i) {
        const std::string n = std::to_string(i + 1);
        const std::string numbers = std::to_string(1 + i % 4) + "," +
                                    std::to_string(100 - 10 * (i % 3)) + "," +
                                    (i == 0 ? "120000" : "0");
        record(u"GROUP,\"\u30b0\u30eb\u30fc\u30d7" + std::u16string(n.begin(), n.end()) + u"\"," +
               std::u16string(numbers.begin(), numbers.end()));
    }
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    for (const char16_t unit : units) {
        out.put(static_cast<char>(unit & 0xFF));
        out.put(static_cast<char>(unit >> 8));
    }
}

struct Search {
    DWORD pid;
    HWND found;
};

HWND visibleMainWindow(DWORD pid) {
    Search search{pid, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t title[64] = {};
            GetWindowTextW(window, title, 64);
            if (owner == s->pid && IsWindowVisible(window) &&
                std::wstring(title) == L"TALLY-SHARE") {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct Run {
    double shown = 0;   // start to visible window
    double closed = 0;  // start to process end
    double peakKiB = 0;
    bool ok = false;
};

Run runOnce(const std::wstring& program) {
    Run run;
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const double start = now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        return run;
    }
    HWND window = nullptr;
    while (window == nullptr && now() - start < 30) {
        window = visibleMainWindow(info.dwProcessId);
        if (window == nullptr) {
            if (WaitForSingleObject(info.hProcess, 1) == WAIT_OBJECT_0) {
                break;
            }
        }
    }
    run.shown = now() - start;
    if (window != nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    const bool ended = WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0;
    run.closed = now() - start;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(info.hProcess, &memory, sizeof memory)) {
        run.peakKiB = static_cast<double>(memory.PeakWorkingSetSize) / 1024;
    }
    DWORD status = 0;
    GetExitCodeProcess(info.hProcess, &status);
    if (!ended) {
        TerminateProcess(info.hProcess, 2);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    run.ok = window != nullptr && ended && status == 1;
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: wine_startup_driver PROGRAM.exe [ROUNDS]\n");
        return 2;
    }
    const std::string narrow = argv[1];
    const std::wstring program(narrow.begin(), narrow.end());  // an ASCII path
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    const std::wstring settings = program.substr(0, program.rfind(L'\\') + 1) + L"ts.cfg";
    writeSettings(settings);

    std::vector<double> shown, closed, peaks;
    for (int i = 0; i < rounds; ++i) {
        const Run run = runOnce(program);
        if (!run.ok) {
            std::fprintf(stderr, "round %d failed\n", i);
            return 1;
        }
        shown.push_back(run.shown);
        closed.push_back(run.closed);
        peaks.push_back(run.peakKiB);
    }
    std::printf("start, show, close and save under Wine; median of %d rounds\n", rounds);
    std::printf("  start to visible window   %8.1f ms\n", median(shown) * 1000);
    std::printf("  start to process end      %8.1f ms\n", median(closed) * 1000);
    std::printf("  peak working set          %8.0f KiB\n", median(peaks));
    return 0;
}
