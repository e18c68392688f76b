// Drives the Windows program from outside, as a user would, with window
// messages only, and reads the results back from its controls:
//   gui_driver <tally-share.exe> <steps.tsv> <typical_use.cfg> <out-of-memory helper.exe>
//   gui_driver --window-size <tally-share.exe>   only the main window's size
// steps.tsv and typical_use.cfg (tests/typical_use) are the typical use that
// the browser tests enter too: the groups, the total and unit, and what the
// program shows and saves after them.
// The program runs from a fresh copy folder, so it starts without ts.cfg.
// Exit status 0 when every check held, 1 otherwise, 77 without a display.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kWaitMs = 20000;
constexpr DWORD kPollMs = 20;
constexpr int kMainList = 1000;
constexpr int kStaticText = 0xFFFF;

int failures = 0;
int namesRead = 0;    // accessible names Wine gave as the templates say
int namesMissed = 0;  // accessible names Wine gave otherwise

std::string narrow(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

void check(bool ok, const char* what) {
    if (!ok) {
        ++failures;
        std::printf("FAILED: %s\n", what);
    }
}

void checkText(std::wstring_view actual, std::wstring_view expected, const char* what) {
    if (actual != expected) {
        ++failures;
        std::printf("FAILED: %s: \"%s\", expected \"%s\"\n", what, narrow(actual).c_str(),
                    narrow(expected).c_str());
    }
}

// A Unix path handed over by CMake, as Wine sees it (drive Z: is /).
std::wstring windowsPath(std::wstring path) {
    if (!path.empty() && path.front() == L'/') {
        for (wchar_t& c : path) {
            if (c == L'/') {
                c = L'\\';
            }
        }
        path.insert(0, L"Z:");
    }
    return path;
}

template <typename Condition>
bool waitFor(Condition condition, DWORD timeoutMs = kWaitMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(kPollMs);
    }
    return true;
}

std::wstring textOf(HWND window) {
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &length) ==
        0) {
        return L"<no answer>";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, kWaitMs, &copied);
    text.resize(copied);
    return text;
}

std::wstring itemText(HWND dialog, int id) {
    const HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? textOf(item) : L"<no control>";
}

void setItemText(HWND dialog, int id, const wchar_t* text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, kWaitMs, &ignored);
}

// A click whose handling opens no modal window: returns once it is handled.
void click(HWND dialog, int id) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kWaitMs,
                        &ignored);
}

// A click that opens a modal window, which the sender must not wait for.
void clickAndGo(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A key pressed and released; a menu loop reads it from the thread's queue.
void pressKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 1 | (3u << 30));
}

// Presses the upper or lower arrow of an up-down control with the mouse.
void pressArrow(HWND dialog, int id, bool up) {
    const HWND arrows = GetDlgItem(dialog, id);
    RECT area{};
    GetClientRect(arrows, &area);
    const int x = area.right / 2;
    const int y = up ? area.bottom / 4 : area.bottom * 3 / 4;
    PostMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(arrows, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

struct Search {
    DWORD process;
    std::wstring title;
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if ((search->process != 0 && process != search->process) || IsWindowVisible(window) == FALSE) {
        return TRUE;
    }
    if (search->owner != nullptr && GetWindow(window, GW_OWNER) != search->owner) {
        return TRUE;
    }
    if (!search->title.empty() && textOf(window) != search->title) {
        return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> topLevelWindows(DWORD process, std::wstring_view title, HWND owner = nullptr) {
    Search search{process, std::wstring(title), owner, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindow(DWORD process, std::wstring_view title, HWND owner = nullptr) {
    HWND window = nullptr;
    waitFor([&] {
        const auto found = topLevelWindows(process, title, owner);
        window = found.empty() ? nullptr : found.front();
        return window != nullptr;
    });
    return window;
}

std::wstring className(HWND window) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return name;
}

// A window of a system class: "#32768" is a menu, "#32770" a dialog box.
HWND waitForClass(DWORD process, std::wstring_view name, HWND owner = nullptr) {
    HWND window = nullptr;
    waitFor([&] {
        for (const HWND candidate : topLevelWindows(process, L"", owner)) {
            if (className(candidate) == name) {
                window = candidate;
                return true;
            }
        }
        return false;
    });
    return window;
}

// The main window's list menu, opened at a screen point or, with -1, as
// the Menu key opens it; `downs` arrow presses and Enter pick an entry.
bool pickFromListMenu(DWORD process, HWND main, LPARAM point, int downs) {
    PostMessageW(main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(GetDlgItem(main, kMainList)),
                 point);
    if (waitForClass(process, L"#32768") == nullptr) {
        return false;
    }
    for (int i = 0; i < downs; ++i) {
        pressKey(main, VK_DOWN);
    }
    pressKey(main, VK_RETURN);
    return true;
}

// The message box a dialog shows: its text is the static control 0xFFFF.
std::wstring takeMessageBox(DWORD process, HWND owner) {
    const HWND box = waitForWindow(process, L"", owner);
    if (box == nullptr) {
        return L"<no message box>";
    }
    const std::wstring caption = textOf(box);
    const std::wstring text = itemText(box, kStaticText);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    waitFor([&] { return IsWindow(box) == FALSE; });
    return caption + L"|" + text;
}

// Reads list rows from another process through memory allocated there.
class RemoteList {
public:
    RemoteList(HANDLE process, HWND list) : process_(process), list_(list) {
        memory_ =
            VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteList() {
        if (memory_ != nullptr) {
            VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        }
    }
    RemoteList(const RemoteList&) = delete;
    RemoteList& operator=(const RemoteList&) = delete;

    int rows() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
    int columns() const {
        const auto header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
        return header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0))
                                 : -1;
    }
    int selected() const {
        return static_cast<int>(
            SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    std::wstring cell(int row, int subitem) {
        if (memory_ == nullptr) {
            return L"<no memory>";
        }
        auto* base = static_cast<char*>(memory_);
        LVITEMW item{};
        item.iSubItem = subitem;
        item.pszText = reinterpret_cast<LPWSTR>(base + sizeof(LVITEMW));
        item.cchTextMax = kTextUnits;
        SIZE_T moved = 0;
        WriteProcessMemory(process_, base, &item, sizeof item, &moved);
        const auto length = static_cast<int>(SendMessageW(
            list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(base)));
        std::wstring text(static_cast<std::size_t>(kTextUnits), L'\0');
        ReadProcessMemory(process_, base + sizeof(LVITEMW), text.data(),
                          text.size() * sizeof(wchar_t), &moved);
        text.resize(static_cast<std::size_t>(std::max(length, 0)));
        return text;
    }

private:
    static constexpr int kTextUnits = 512;
    static constexpr SIZE_T kSize = sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t);
    HANDLE process_;
    HWND list_;
    void* memory_ = nullptr;
};

struct Program {
    PROCESS_INFORMATION info{};
    bool started = false;
};

Program start(const std::wstring& executable, const std::wstring& folder) {
    Program program;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + executable + L"\"";
    program.started =
        CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &program.info) != FALSE;
    return program;
}

DWORD waitForExit(const Program& program) {
    if (WaitForSingleObject(program.info.hProcess, kWaitMs) != WAIT_OBJECT_0) {
        TerminateProcess(program.info.hProcess, 99);
        WaitForSingleObject(program.info.hProcess, kWaitMs);
        return 99;
    }
    DWORD code = 0;
    GetExitCodeProcess(program.info.hProcess, &code);
    return code;
}

void closeHandles(Program& program) {
    if (program.started) {
        CloseHandle(program.info.hThread);
        CloseHandle(program.info.hProcess);
        program.started = false;
    }
}

std::string readFileBytes(const std::wstring& path, bool& ok) {
    ok = false;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    ok = true;
    return bytes;
}

std::wstring readFileText(const std::wstring& path, bool& ok) {
    const std::string bytes = readFileBytes(path, ok);
    ok = ok && bytes.size() % 2 == 0;
    std::wstring text(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return text;
}

// The settings file with the save date of its PEOPLE record left out.
std::wstring withoutDate(std::wstring text) {
    const std::size_t people = text.find(L"PEOPLE,");
    if (people == std::wstring::npos) {
        return text;
    }
    const std::size_t end = text.find(L'\n', people);
    const std::size_t comma = text.rfind(L',', end);
    if (end != std::wstring::npos && comma != std::wstring::npos && comma > people) {
        text.replace(comma + 1, end - comma - 1, L"<date>");
    }
    return text;
}

// The typical use: one line per entry, a keyword and tab-separated fields
// in UTF-8; lines starting with # are comments (see steps.tsv).
struct TypicalGroup {
    std::wstring name, people, ratio, advance, addend;
    bool arrows = false;  // people raised from 1 with ▲, ratio lowered from 100 with ▼
};

struct TypicalUse {
    std::vector<TypicalGroup> groups;
    std::wstring total, unit, advances;
    std::vector<std::vector<std::wstring>> rows;
    std::vector<std::wstring> totals;  // 総人数, 総額, 区切額, 余り
};

std::vector<std::wstring> splitTabs(const std::wstring& line) {
    std::vector<std::wstring> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find(L'\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::wstring::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

// The number a list cell shows without its unit ("3500円" is 3500).
std::wstring withoutUnit(std::wstring cell, std::wstring_view unit) {
    if (cell.ends_with(unit)) {
        cell.resize(cell.size() - unit.size());
    }
    return cell;
}

bool readTypicalUse(const std::wstring& path, TypicalUse& typicalUse) {
    bool ok = false;
    const std::string bytes = readFileBytes(path, ok);
    if (!ok) {
        std::printf("FAILED: cannot read the typical use %s\n", narrow(path).c_str());
        return false;
    }
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                            static_cast<int>(text.size()))));
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        end = end == std::wstring::npos ? text.size() : end;
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with(L'\r')) {
            line.pop_back();
        }
        if (line.empty() || line.front() == L'#') {
            continue;
        }
        std::vector<std::wstring> fields = splitTabs(line);
        const std::wstring key = fields.front();
        fields.erase(fields.begin());
        if (key == L"group" && fields.size() == 6) {
            typicalUse.groups.push_back(
                {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5] == L"arrows"});
        } else if (key == L"total" && fields.size() == 2) {
            typicalUse.total = fields[0];
            typicalUse.unit = fields[1];
        } else if (key == L"advances" && fields.size() == 1) {
            typicalUse.advances = fields[0];
        } else if (key == L"row" && fields.size() == 6) {
            typicalUse.rows.push_back(fields);
        } else if (key == L"totals" && fields.size() == 4) {
            typicalUse.totals = fields;
        } else {
            std::printf("FAILED: the typical use has a line it should not: %s\n",
                        narrow(line).c_str());
            return false;
        }
    }
    if (typicalUse.groups.empty() || typicalUse.groups.size() != typicalUse.rows.size() ||
        typicalUse.totals.empty()) {
        std::printf("FAILED: the typical use lacks groups, rows or totals\n");
        return false;
    }
    return true;
}

constexpr WORD kOldYear = 2000;
constexpr UINT kEndedBySession = 3;

void markOld(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    SYSTEMTIME old{};
    old.wYear = kOldYear;
    old.wMonth = 1;
    old.wDay = 1;
    FILETIME time{};
    SystemTimeToFileTime(&old, &time);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

bool isOld(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    SYSTEMTIME written{};
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != FALSE &&
           FileTimeToSystemTime(&data.ftLastWriteTime, &written) != FALSE &&
           written.wYear == kOldYear;
}

void removeFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") {
                DeleteFileW((folder + L"\\" + name).c_str());
            }
        } while (FindNextFileW(find, &entry) != FALSE);
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

// Adds the typical use's groups. The first dialog shows a new group's
// fields; a group entered with the arrows has its empty people field
// refused first.
void addGroups(DWORD pid, HWND main, RemoteList& list, const TypicalUse& typicalUse) {
    for (std::size_t index = 0; index < typicalUse.groups.size(); ++index) {
        const TypicalGroup& group = typicalUse.groups[index];
        clickAndGo(main, 1015);
        const HWND dialog = waitForWindow(pid, L"グループの設定", main);
        check(dialog != nullptr, "the group dialog opens on 追加");
        if (dialog == nullptr) {
            return;
        }
        if (index == 0) {
            checkText(itemText(dialog, 1009), L"新規", "a new group's name");
            checkText(itemText(dialog, 1021), L"1", "a new group's people");
            checkText(itemText(dialog, 1025), L"100", "a new group's ratio");
            checkText(itemText(dialog, 1020), L"0", "a new group's advance");
        }
        setItemText(dialog, 1009, group.name.c_str());
        if (group.arrows) {
            setItemText(dialog, 1021, L"");
            clickAndGo(dialog, IDOK);
            checkText(takeMessageBox(pid, dialog), L"エラー|このグループの人数を入力してください",
                      "the group dialog refuses an empty people field");
            check(IsWindow(dialog) != FALSE, "the group dialog stays open after a refusal");
            setItemText(dialog, 1021, L"1");
            for (int people = 2; people <= std::stoi(group.people); ++people) {
                pressArrow(dialog, 1028, true);
                check(waitFor([&] { return itemText(dialog, 1021) == std::to_wstring(people); }),
                      "the up arrow adds a person");
            }
            for (int ratio = 90; ratio >= std::stoi(group.ratio); ratio -= 10) {
                pressArrow(dialog, 1029, false);
                check(waitFor([&] { return itemText(dialog, 1025) == std::to_wstring(ratio); }),
                      "the down arrow lowers the ratio by 10");
            }
        } else {
            setItemText(dialog, 1021, group.people.c_str());
            setItemText(dialog, 1025, group.ratio.c_str());
        }
        setItemText(dialog, 1020, group.advance.c_str());
        if (!group.addend.empty()) {
            setItemText(dialog, 1022, group.addend.c_str());
            click(dialog, 3);
            checkText(itemText(dialog, 1020), withoutUnit(typicalUse.rows[index][3], L"円"),
                      "\"+\" adds the addend to the advance");
        }
        click(dialog, IDOK);
        check(waitFor([&] { return list.rows() == static_cast<int>(index) + 1; }),
              "the group is listed");
    }
}

void enterTotal(DWORD pid, HWND main, const TypicalUse& typicalUse) {
    clickAndGo(main, 1017);
    const HWND dialog = waitForWindow(pid, L"情報", main);
    check(dialog != nullptr, "the total dialog opens on 入力");
    if (dialog == nullptr) {
        return;
    }
    checkText(itemText(dialog, 1019), L"0", "the total at first");
    checkText(itemText(dialog, 1029), L"100", "the unit at first");
    check(SendMessageW(GetDlgItem(dialog, 1029), CB_GETCOUNT, 0, 0) == 5,
          "the unit list offers five choices");
    click(dialog, 3);
    checkText(itemText(dialog, 1019), typicalUse.advances,
              "総負担額を入れる takes the sum of the advances");
    setItemText(dialog, 1019, L"");
    clickAndGo(dialog, IDOK);
    checkText(takeMessageBox(pid, dialog), L"エラー|総額を入力してください",
              "the total dialog refuses an empty total");
    setItemText(dialog, 1019, typicalUse.total.c_str());
    setItemText(dialog, 1029, typicalUse.unit.c_str());
    // Enter in the total field is OK, although 総負担額を入れる comes first
    // among the buttons of default style.
    pressKey(GetDlgItem(dialog, 1019), VK_RETURN);
    check(waitFor([&] { return IsWindow(dialog) == FALSE; }), "Enter closes the total dialog");
}

void checkCalculation(HWND main, RemoteList& list, const TypicalUse& typicalUse) {
    click(main, 1022);
    const auto& expected = typicalUse.rows;
    waitFor([&] { return list.cell(1, 5) == expected[1][5]; });
    check(list.columns() == 6, "six columns in the detailed view");
    check(list.rows() == static_cast<int>(expected.size()), "a row per group");
    for (std::size_t row = 0; row < expected.size(); ++row) {
        for (std::size_t column = 0; column < expected[row].size(); ++column) {
            char what[64];
            std::snprintf(what, sizeof what, "cell %zu,%zu", row, column);
            checkText(list.cell(static_cast<int>(row), static_cast<int>(column)),
                      expected[row][column], what);
        }
    }
    checkText(itemText(main, 1028), typicalUse.totals[0], "総人数");
    checkText(itemText(main, 1019), typicalUse.totals[1], "総額");
    checkText(itemText(main, 1029), typicalUse.totals[2], "区切額");
    checkText(itemText(main, 1027), typicalUse.totals[3], "余り");
}

std::wstring clipboardText() {
    std::wstring text;
    if (OpenClipboard(nullptr) == FALSE) {
        return text;
    }
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = units;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// コピー in the list's menu, opened with the mouse, puts the list on the
// clipboard as the window shows it: titles, rows, an empty line and the
// totals, cells separated by tabs, every line ending in CR LF.
void checkCopy(DWORD pid, HWND main, RemoteList& list) {
    std::wstring expected = L"ｸﾞﾙｰﾌﾟ名\t人数\t割合\t負担額\t支払額\t差引額\r\n";
    for (int row = 0; row < list.rows(); ++row) {
        for (int column = 0; column < list.columns(); ++column) {
            expected += (column > 0 ? L"\t" : L"") + list.cell(row, column);
        }
        expected += L"\r\n";
    }
    expected += L"\r\n";
    const std::pair<const wchar_t*, int> totals[] = {
        {L"総人数", 1028}, {L"総額", 1019}, {L"区切額", 1029}, {L"余り", 1027}};
    for (const auto& [label, id] : totals) {
        expected += label + (L"\t" + itemText(main, id)) + L"\r\n";
    }
    if (OpenClipboard(nullptr) != FALSE) {
        EmptyClipboard();
        CloseClipboard();
    }
    RECT area{};
    GetWindowRect(GetDlgItem(main, kMainList), &area);
    check(pickFromListMenu(
              pid, main, MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2), 1),
          "the list's menu opens at the mouse");
    std::wstring copied;
    waitFor([&] { return !(copied = clipboardText()).empty(); });
    checkText(copied, expected, "コピー puts the list on the clipboard");
}

// CSVで保存… in the list's menu, opened with the Menu key, asks for a file
// in the save dialog and writes the party there as CSV; a name that a
// spreadsheet would take for a formula gets a leading apostrophe.
void exportCsv(const std::wstring& executable, const std::wstring& folder,
               const TypicalUse& typicalUse) {
    Program program = start(executable, folder);
    check(program.started, "the program starts for the CSV export");
    if (!program.started) {
        return;
    }
    const DWORD pid = program.info.dwProcessId;
    const HWND main = waitForWindow(pid, L"TALLY-SHARE");
    const HWND group = main != nullptr
                           ? (clickAndGo(main, 1015), waitForWindow(pid, L"グループの設定", main))
                           : nullptr;
    check(group != nullptr, "the group dialog opens for the CSV export");
    if (group != nullptr) {
        setItemText(group, 1009, L"=1+1");
        clickAndGo(group, IDOK);
        waitFor([&] { return IsWindow(group) == FALSE; });
        check(pickFromListMenu(pid, main, -1, 2), "the list's menu opens with the Menu key");
    }
    const HWND chooser = group != nullptr ? waitForClass(pid, L"#32770", main) : nullptr;
    check(chooser != nullptr, "CSVで保存… opens the save dialog");
    const std::wstring path = folder + L"\\export.csv";
    if (chooser != nullptr) {
        HWND name = GetDlgItem(chooser, 0x47C);  // cmb13, or edt1 in older dialogs
        name = name != nullptr ? name : GetDlgItem(chooser, 0x480);
        SYSTEMTIME today{};
        GetLocalTime(&today);
        wchar_t suggested[32] = {};
        std::swprintf(suggested, 32, L"tally-share-%04u%02u%02u.csv", today.wYear, today.wMonth,
                      today.wDay);
        checkText(textOf(name), suggested, "the suggested file name");
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                            SMTO_ABORTIFHUNG, kWaitMs, &ignored);
        clickAndGo(chooser, IDOK);
        check(waitFor([&] { return IsWindow(chooser) == FALSE; }), "保存 closes the save dialog");
    }
    bool ok = false;
    std::string bytes;
    waitFor([&] { return !(bytes = readFileBytes(path, ok)).empty(); });
    std::wstring expected = L"ｸﾞﾙｰﾌﾟ名,人数,割合,負担額,支払額,差引額\r\n";
    for (const auto& row : typicalUse.rows) {
        expected += row[0] + L"," + withoutUnit(row[1], L"人") + L"," + withoutUnit(row[2], L"%") +
                    L"," + withoutUnit(row[3], L"円") + L",,\r\n";
    }
    expected += L"'=1+1,1,100,0,,\r\n\r\n";
    const std::string rows = "\xEF\xBB\xBF" + narrow(expected);
    if (!bytes.starts_with(rows)) {
        ++failures;
        std::printf("FAILED: the CSV file's BOM, titles and rows; it reads:\n%s\n", bytes.c_str());
    }
    if (main != nullptr) {
        PostMessageW(main, WM_CLOSE, 0, 0);
    }
    check(waitForExit(program) == 1, "the program closes after the CSV export");
    closeHandles(program);
}

// Another program asks the running copy to close while a message box is
// open over the group dialog: the box, then the dialog, then the main window
// close, and the party is saved without the half-entered group.
void closeFromOutside(const std::wstring& executable, const std::wstring& folder) {
    Program program = start(executable, folder);
    check(program.started, "the program starts again");
    if (!program.started) {
        return;
    }
    const DWORD pid = program.info.dwProcessId;
    const HWND main = waitForWindow(pid, L"TALLY-SHARE");
    check(main != nullptr, "the main window appears again");
    const HWND dialog = main != nullptr
                            ? (clickAndGo(main, 1015), waitForWindow(pid, L"グループの設定", main))
                            : nullptr;
    check(dialog != nullptr, "the group dialog opens for the close test");
    if (dialog != nullptr) {
        setItemText(dialog, 1009, L"");
        clickAndGo(dialog, IDOK);
        check(waitForWindow(pid, L"", dialog) != nullptr, "the refusal's box is open");
        PostMessageW(main, WM_CLOSE, 0, 0);
    }
    check(waitForExit(program) == 1, "a close request from outside ends the program with 1");
    closeHandles(program);
}

// The session ends while the main window is idle, or while the dialog that
// `opener` opens is open with a half-entered value: the settings file is
// saved, without that value, before the program's answer to WM_ENDSESSION,
// after which Windows may end the process at any moment.
void endSession(const std::wstring& executable, const std::wstring& folder,
                const std::wstring& settings, int opener, const wchar_t* dialogTitle) {
    markOld(settings);
    bool ok = false;
    const std::wstring before = withoutDate(readFileText(settings, ok));
    Program program = start(executable, folder);
    check(program.started, "the program starts for the session end");
    if (!program.started) {
        return;
    }
    const DWORD pid = program.info.dwProcessId;
    const HWND main = waitForWindow(pid, L"TALLY-SHARE");
    check(main != nullptr, "the main window appears for the session end");
    if (main != nullptr && opener != 0) {
        clickAndGo(main, opener);
        const HWND dialog = waitForWindow(pid, dialogTitle, main);
        check(dialog != nullptr, "the dialog is open when the session ends");
        if (dialog != nullptr) {
            setItemText(dialog, opener == 1015 ? 1009 : 1019, L"777");
        }
    }
    if (main != nullptr) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG,
                            kWaitMs, &answer);
        check(answer != FALSE, "the program lets the session end");
        SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, kWaitMs,
                            &answer);
        if (opener != 0) {
            // As Windows may: the process ends the moment it has answered.
            TerminateProcess(program.info.hProcess, kEndedBySession);
        }
        char what[96];
        std::snprintf(what, sizeof what, "the settings file is saved when the session ends (%d)",
                      opener);
        check(!isOld(settings), what);
        checkText(withoutDate(readFileText(settings, ok)), before,
                  "the party is saved as it stands when the session ends");
    }
    const DWORD code = waitForExit(program);
    check(code == 1 || (opener != 0 && code == kEndedBySession),
          "the program ends with 1 at the session's end");
    closeHandles(program);
}

// The dialog's visible controls lie inside its client area and the
// controls with an id cover no other such control; every push button's
// text fits it in the templates' font (measured here, where Wine maps the
// face to the same installed one).
void checkLaidOut(HWND dialog, const char* which) {
    RECT client{};
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::vector<std::pair<HWND, RECT>> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) == FALSE) {
            continue;
        }
        RECT area{};
        GetWindowRect(child, &area);
        char what[128];
        std::snprintf(what, sizeof what, "%s: control %d lies inside the window", which,
                      GetDlgCtrlID(child));
        check(area.left >= client.left && area.top >= client.top && area.right <= client.right &&
                  area.bottom <= client.bottom,
              what);
        if (static_cast<WORD>(GetDlgCtrlID(child)) != kStaticText) {
            controls.emplace_back(child, area);
        }
    }
    for (std::size_t a = 0; a < controls.size(); ++a) {
        for (std::size_t b = a + 1; b < controls.size(); ++b) {
            RECT both{};
            char what[128];
            std::snprintf(what, sizeof what, "%s: controls %d and %d do not overlap", which,
                          GetDlgCtrlID(controls[a].first), GetDlgCtrlID(controls[b].first));
            check(IntersectRect(&both, &controls[a].second, &controls[b].second) == FALSE, what);
        }
    }
    const HDC screen = GetDC(nullptr);
    const HFONT font =
        CreateFontW(-MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE,
                    FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"ＭＳ ゴシック");
    const HGDIOBJ before = SelectObject(screen, font);
    for (const auto& [control, area] : controls) {
        if (className(control) != L"Button") {
            continue;
        }
        const std::wstring text = textOf(control);
        SIZE extent{};
        GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &extent);
        char what[160];
        std::snprintf(what, sizeof what, "%s: \"%s\" fits its button (%ld of %ld pixels)", which,
                      narrow(text).c_str(), extent.cx, area.right - area.left);
        check(extent.cx <= area.right - area.left - 4, what);
    }
    SelectObject(screen, before);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
}

// The evening: 次の会を追加 from the list's menu shows a second round of
// the same groups with the selector 会; the selector's own Up key goes
// back to the first round; 精算 from the menu shows one row per class, and
// 済 marks the next member of the selected class, which the settings file
// keeps.
void evening(const std::wstring& executable, const std::wstring& folder,
             const std::wstring& settings) {
    Program program = start(executable, folder);
    check(program.started, "the program starts for the evening");
    if (!program.started) {
        return;
    }
    const DWORD pid = program.info.dwProcessId;
    const HWND main = waitForWindow(pid, L"TALLY-SHARE");
    check(main != nullptr, "the main window appears for the evening");
    const HWND rounds = main != nullptr ? GetDlgItem(main, 1032) : nullptr;
    check(rounds != nullptr && IsWindowVisible(rounds) == FALSE,
          "the round selector is hidden while there is one round");
    if (main != nullptr && rounds != nullptr) {
        RemoteList list(program.info.hProcess, GetDlgItem(main, kMainList));
        click(main, 1022);  // 区切計算
        const std::wstring firstRound = list.cell(1, 5);
        check(pickFromListMenu(pid, main, -1, 4), "the list's menu opens for 次の会を追加");
        // The selector is shown first, then filled.
        check(waitFor([&] {
                  return IsWindowVisible(rounds) != FALSE &&
                         SendMessageW(rounds, CB_GETCOUNT, 0, 0) == 2 &&
                         SendMessageW(rounds, CB_GETCURSEL, 0, 0) == 1;
              }),
              "the round selector appears with two rounds, the new one chosen");
        checkText(itemText(main, 1032), L"二次会", "the new round's name");
        checkText(list.cell(1, 3), L"0円", "the new round starts with nothing paid");
        checkText(itemText(main, 1019), L"0円", "the new round starts without a total");
        checkLaidOut(main, "the main window with its round selector");
        click(main, 1022);  // the second round calculated too
        pressKey(rounds, VK_UP);
        check(waitFor([&] { return list.cell(1, 5) == firstRound; }),
              "the selector's Up key shows the first round again");
        checkText(itemText(main, 1032), L"一次会", "the selector shows the first round");

        check(pickFromListMenu(pid, main, -1, 7), "the list's menu opens for 精算");
        const HWND settlement = waitForWindow(pid, L"精算", main);
        check(settlement != nullptr, "精算 opens the settlement");
        if (settlement != nullptr) {
            RemoteList plan(program.info.hProcess, GetDlgItem(settlement, kMainList));
            check(plan.rows() == 3, "the settlement shows one row per class");
            checkText(plan.cell(0, 2).substr(0, 2), L"0/", "nobody has settled yet");
            click(settlement, 1101);  // 済
            checkText(plan.cell(0, 2).substr(0, 2), L"1/", "済 marks the first class's member");
            checkLaidOut(settlement, "the settlement");
            clickAndGo(settlement, IDCANCEL);
            check(waitFor([&] { return IsWindow(settlement) == FALSE; }),
                  "閉じる closes the settlement");
        }
        PostMessageW(main, WM_CLOSE, 0, 0);
    }
    check(waitForExit(program) == 1, "the program closes after the evening");
    closeHandles(program);
    bool ok = false;
    const std::wstring saved = readFileText(settings, ok);
    check(ok && saved.find(L"MARK,\"") != std::wstring::npos &&
              saved.find(L"ROUND,\"二次会\"") != std::wstring::npos,
          "the settings file keeps both rounds and the mark");
}

// F1 anywhere in the main window opens the about box; the icon that opens
// it with the mouse is no tab stop.
void helpKey(DWORD pid, HWND main) {
    PostMessageW(GetDlgItem(main, kMainList), WM_KEYDOWN, VK_F1, 1);
    const std::wstring box = takeMessageBox(pid, main);
    check(box.starts_with(L"Information|TALLY-SHARE Version1.00\n"), "F1 opens the about box");
    check(box.find(L"開発者") != std::wstring::npos, "the about box's credit line is Japanese");
}

HRESULT lastAccessError = S_OK;

// What a screen reader hears of a control (its MSAA name); nothing when
// Wine gives no accessible object or no name.
std::wstring accessibleName(HWND control, bool& answered) {
    answered = false;
    IAccessible* object = nullptr;
    const HRESULT found =
        AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                   reinterpret_cast<void**>(&object));
    if (FAILED(found) || object == nullptr) {
        lastAccessError = found;
        return {};
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring text;
    const HRESULT named = object->get_accName(self, &name);
    lastAccessError = named;
    if (SUCCEEDED(named) && name != nullptr) {
        answered = true;
        text = name;
        SysFreeString(name);
    }
    object->Release();
    return text;
}

struct SpokenName {
    int id;
    const wchar_t* name;
};

// The names the templates give, read back where Wine answers; what it
// answers otherwise is printed, not counted.
void checkNames(HWND dialog, const char* which, const std::vector<SpokenName>& names) {
    int unanswered = 0;
    for (const SpokenName& expected : names) {
        bool answered = false;
        const HWND control = GetDlgItem(dialog, expected.id);
        const std::wstring name = accessibleName(control, answered);
        if (!answered) {
            ++unanswered;
        } else if (name != expected.name) {
            std::printf("note: %s %d: Wine reads \"%s\", the template says \"%s\"\n", which,
                        expected.id, narrow(name).c_str(), narrow(expected.name).c_str());
            ++namesMissed;
        } else {
            ++namesRead;
        }
    }
    if (unanswered > 0) {
        std::printf("note: %s: no accessible name for %d of %zu controls (last answer 0x%08lx)\n",
                    which, unanswered, names.size(), static_cast<unsigned long>(lastAccessError));
    }
}

void accessibleNames(DWORD pid, HWND main) {
    checkNames(main, "main window",
               {{kMainList, L"グループ一覧"},
                {1028, (L"総人数 " + itemText(main, 1028)).c_str()},
                {1019, (L"総額 " + itemText(main, 1019)).c_str()},
                {1031, L"バージョン情報"},
                {1015, L"追加"}});
    clickAndGo(main, 1015);
    const HWND group = waitForWindow(pid, L"グループの設定", main);
    if (group != nullptr) {
        checkNames(group, "group dialog",
                   {{1009, L"名称"},
                    {1021, L"人数"},
                    {1025, L"割合"},
                    {1020, L"負担額"},
                    {1022, L"加える額"},
                    {3, L"負担額に加える"},
                    {1028, L"人数の増減"},
                    {1029, L"割合の増減"}});
        click(group, IDCANCEL);
        waitFor([&] { return IsWindow(group) == FALSE; });
    }
    clickAndGo(main, 1017);
    const HWND total = waitForWindow(pid, L"情報", main);
    if (total != nullptr) {
        checkNames(total, "total dialog", {{1019, L"総額"}, {1029, L"区切額"}});
        click(total, IDCANCEL);
        waitFor([&] { return IsWindow(total) == FALSE; });
    }
}

// The main window, frame included, is placed at (0, 0) and fits a screen
// 640 pixels wide; it is 640 pixels wide unless its template needs more.
void windowSize(HWND main) {
    RECT outer{};
    RECT client{};
    GetWindowRect(main, &outer);
    GetClientRect(main, &client);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    std::printf("main window on a %dx%d screen: %ldx%ld at %ld,%ld, client %ldx%ld\n", screenWidth,
                screenHeight, outer.right - outer.left, outer.bottom - outer.top, outer.left,
                outer.top, client.right, client.bottom);
    check(outer.left == 0 && outer.top == 0, "the main window stands at 0, 0");
    check(outer.right <= screenWidth && outer.bottom <= screenHeight,
          "the whole main window, frame included, fits the screen");
    const long width = outer.right - outer.left;
    // Wider than 640 only for the template: then its client area is the
    // template's, narrower than 640.
    check(width == std::min(screenWidth, 640) || (width > 640 && client.right < 640),
          "the main window, frame included, is min(screen width, 640) wide");
}

// A procedure that runs out of memory ends the program with the box
// "out of memory" and status 1.
void outOfMemory(const std::wstring& helper) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    Program program = start(helper, temp);
    check(program.started, "the out-of-memory helper starts");
    if (!program.started) {
        return;
    }
    const HWND box = waitForWindow(program.info.dwProcessId, L"TALLY-SHARE");
    check(box != nullptr, "a box titled TALLY-SHARE appears");
    if (box != nullptr) {
        checkText(itemText(box, kStaticText), L"out of memory", "the out-of-memory box's text");
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    check(waitForExit(program) == 1, "running out of memory ends the program with 1");
    closeHandles(program);
}

}  // namespace

// Starts the program on its own and measures its main window only.
int windowSizeOnly(const std::wstring& program) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"tally-share-size-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring executable = folder + L"\\tally-share.exe";
    if (CopyFileW(program.c_str(), executable.c_str(), FALSE) == FALSE) {
        std::printf("FAILED: cannot copy %s\n", narrow(program).c_str());
        return 1;
    }
    Program copy = start(executable, folder);
    check(copy.started, "the program starts");
    const HWND main = copy.started ? waitForWindow(copy.info.dwProcessId, L"TALLY-SHARE") : nullptr;
    check(main != nullptr, "the main window appears");
    if (main != nullptr) {
        windowSize(main);
        // The largest dialog, the settlement, fits the same screen.
        check(pickFromListMenu(copy.info.dwProcessId, main, -1, 6),
              "the list's menu opens for 精算");
        const HWND settlement = waitForWindow(copy.info.dwProcessId, L"精算", main);
        check(settlement != nullptr, "精算 opens the settlement");
        if (settlement != nullptr) {
            RECT outer{};
            GetWindowRect(settlement, &outer);
            std::printf("the settlement on a %dx%d screen: %ldx%ld at %ld,%ld\n",
                        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                        outer.right - outer.left, outer.bottom - outer.top, outer.left, outer.top);
            check(outer.left >= 0 && outer.top >= 0 &&
                      outer.right <= GetSystemMetrics(SM_CXSCREEN) &&
                      outer.bottom <= GetSystemMetrics(SM_CYSCREEN),
                  "the whole settlement dialog, frame included, fits the screen");
            checkLaidOut(settlement, "the settlement");
            clickAndGo(settlement, IDCANCEL);
            waitFor([&] { return IsWindow(settlement) == FALSE; });
        }
        PostMessageW(main, WM_CLOSE, 0, 0);
    }
    if (copy.started) {
        check(waitForExit(copy) == 1, "the program ends with 1");
        closeHandles(copy);
    }
    removeFolder(folder);
    std::printf("%s: %d failure(s)\n", failures == 0 ? "PASSED" : "FAILED", failures);
    return failures == 0 ? 0 : 1;
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring_view(argv[1]) == L"--window-size") {
        if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
            std::printf("SKIPPED: no display\n");
            return 77;
        }
        return windowSizeOnly(windowsPath(argv[2]));
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (argc != 5) {
        std::printf(
            "usage: gui_driver <tally-share.exe> <steps.tsv> <typical_use.cfg> <out-of-memory "
            "helper.exe>\n");
        return 2;
    }
    if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) {
        std::printf("SKIPPED: no display (source scripts/wine_env.sh, wine_setup --display)\n");
        return 77;
    }
    if (!topLevelWindows(0, L"TALLY-SHARE").empty()) {
        std::printf("FAILED: a copy of the program runs already in this Wine prefix\n");
        return 1;
    }
    const std::wstring program = windowsPath(argv[1]);
    TypicalUse typicalUse;
    if (!readTypicalUse(windowsPath(argv[2]), typicalUse)) {
        return 1;
    }
    const std::wstring goldenPath = windowsPath(argv[3]);

    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"tally-share-gui-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring executable = folder + L"\\tally-share.exe";
    const std::wstring settings = folder + L"\\ts.cfg";
    if (CopyFileW(program.c_str(), executable.c_str(), FALSE) == FALSE) {
        std::printf("FAILED: cannot copy %s\n", narrow(program).c_str());
        return 1;
    }

    Program first = start(executable, folder);
    check(first.started, "the program starts");
    const DWORD pid = first.info.dwProcessId;
    const HWND main = first.started ? waitForWindow(pid, L"TALLY-SHARE") : nullptr;
    check(main != nullptr, "the main window titled TALLY-SHARE appears");

    if (main != nullptr) {
        // A second copy gives way: it ends with 0 and shows no window.
        Program second = start(executable, folder);
        check(second.started, "a second copy starts");
        if (second.started) {
            check(waitForExit(second) == 0, "the second copy ends with 0");
            closeHandles(second);
        }
        check(topLevelWindows(0, L"TALLY-SHARE").size() == 1,
              "one window titled TALLY-SHARE while the second copy has gone");
        check(GetFileAttributesW(settings.c_str()) == INVALID_FILE_ATTRIBUTES,
              "the second copy writes no settings file");
        if (GetForegroundWindow() != main) {
            std::printf("note: the first copy's window is not reported in front\n");
        }

        RemoteList list(first.info.hProcess, GetDlgItem(main, kMainList));
        checkText(itemText(main, 1028), L"0人", "総人数 at first start");
        checkText(itemText(main, 1029), L"100円", "区切額 at first start");
        check(list.rows() == 0, "an empty list at first start");
        addGroups(pid, main, list, typicalUse);
        enterTotal(pid, main, typicalUse);
        checkCalculation(main, list, typicalUse);
        checkCopy(pid, main, list);
        helpKey(pid, main);
        accessibleNames(pid, main);
        windowSize(main);
        PostMessageW(main, WM_CLOSE, 0, 0);
    }

    if (first.started) {
        check(waitForExit(first) == 1, "the program ends with 1 after its window closed");
        closeHandles(first);
    }
    bool savedOk = false;
    bool goldenOk = false;
    const std::wstring saved = readFileText(settings, savedOk);
    const std::wstring golden = readFileText(goldenPath, goldenOk);
    check(savedOk, "ts.cfg is written at exit");
    check(goldenOk, "the golden settings file can be read");
    if (savedOk && goldenOk) {
        checkText(withoutDate(saved), withoutDate(golden),
                  "ts.cfg equals the Linux program's file, date aside");
    }
    if (savedOk && goldenOk) {
        // The close from outside must write the file again.
        markOld(settings);
        closeFromOutside(executable, folder);
        check(!isOld(settings), "a close request from outside saves the settings file");
        checkText(withoutDate(readFileText(settings, savedOk)), withoutDate(golden),
                  "the half-entered group is not saved");
        endSession(executable, folder, settings, 0, nullptr);
        endSession(executable, folder, settings, 1015, L"グループの設定");
        endSession(executable, folder, settings, 1017, L"情報");
        exportCsv(executable, folder, typicalUse);
        evening(executable, folder, settings);
    }
    removeFolder(folder);
    outOfMemory(windowsPath(argv[4]));
    std::printf("accessible names: %d read as the templates say, %d otherwise\n", namesRead,
                namesMissed);
    std::printf("%s: %d failure(s)\n", failures == 0 ? "PASSED" : "FAILED", failures);
    return failures == 0 ? 0 : 1;
}
