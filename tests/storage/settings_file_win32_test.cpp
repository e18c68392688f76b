// Settings-file cases that only Windows has: names outside the ANSI code
// page, paths longer than MAX_PATH, files that another program holds open,
// and the read-only attribute.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <windows.h>

#include "settings_fixture.h"
#include "storage/settings_file.h"
#include "storage/text.h"

namespace ts {
namespace {

using test::describe;
using test::makeParty;
using test::readBytes;
using test::records;
using test::SettingsFile;
using test::writeBytes;

std::wstring wideOf(std::u16string_view text) {
    return {text.begin(), text.end()};
}

std::wstring extended(const std::string& path) {
    return L"\\\\?\\" + wideOf(fromUtf8(path));
}

// A handle on `path` as another program would hold it: reading, with the
// given sharing.
class HeldOpen {
public:
    HeldOpen(const std::string& path, DWORD share)
        : handle_(CreateFileW(extended(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldOpen() { release(); }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
    void release() {
        if (ok()) {
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE handle_;
};

// The whole file through the extended-length form, for paths beyond MAX_PATH.
std::string readLong(const std::string& path) {
    const HANDLE file = CreateFileW(extended(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "<cannot open>";
    }
    std::string bytes;
    char chunk[4096];
    DWORD n = 0;
    while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) {
        bytes.append(chunk, n);
    }
    CloseHandle(file);
    return bytes;
}

std::string listLong(const std::string& folder) {
    std::string names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((extended(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return "<cannot list>";
    }
    do {
        const std::wstring name(found.cFileName);
        if (name != L"." && name != L"..") {
            if (!names.empty()) {
                names += ' ';
            }
            names += toUtf8(std::u16string(name.begin(), name.end()));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

TEST_F(SettingsFile, FolderWithAJapaneseName) {
    const std::string folder = dir.file("\u8a2d\u5b9a\u30d5\u30a9\u30eb\u30c0");
    ASSERT_TRUE(test::makeFolder(folder));
    const std::u16string path = fromUtf8(folder) + u"\\ts.cfg";
    auto party =
        makeParty(u"\u98f2\u307f\u4f1a", 12000, 100, {{u"\u55b6\u696d\u90e8", 3, 80, 500}});
    ASSERT_TRUE(saveToPath(path, *party));
    EXPECT_EQ(readBytes(toUtf8(path)), records({u"@TALLYSHARE/CONFIG,1.00",
                                                u"PEOPLE,\"\u98f2\u307f\u4f1a\",12000,100,2024/3/5",
                                                u"GROUP,\"\u55b6\u696d\u90e8\",3,80,500"}));
    auto loaded = Party::create(u"FIRST");
    ASSERT_TRUE(loadFromPath(path, *loaded));
    EXPECT_EQ(describe(*loaded), describe(*party));
    EXPECT_EQ(test::Scratch::listingOf(folder), "ts.cfg");
}

TEST_F(SettingsFile, PathLongerThanMaxPath) {
    // Four nested folders of 100 units each put the file far beyond the
    // 260 units of MAX_PATH.
    std::vector<std::string> folders;
    std::string folder = dir.path();
    for (const char letter : {'a', 'b', 'c', 'd'}) {
        folder += '\\';
        folder.append(100, letter);
        ASSERT_TRUE(CreateDirectoryW(extended(folder).c_str(), nullptr)) << GetLastError();
        folders.push_back(folder);
    }
    const std::string file = folder + "\\ts.cfg";
    ASSERT_GT(file.size(), static_cast<std::size_t>(MAX_PATH));

    auto party = makeParty(u"FIRST", 1, 10, {{u"A"}});
    ASSERT_TRUE(saveToPath(fromUtf8(file), *party));
    const std::string first = readLong(file);
    EXPECT_EQ(first, records({u"@TALLYSHARE/CONFIG,1.00", u"PEOPLE,\"FIRST\",1,10,2024/3/5",
                              u"GROUP,\"A\",1,100,0"}));

    // Replacing it, with '/' between the folders as many programs write them.
    party->total = 2;
    std::u16string slashed = fromUtf8(file);
    for (std::size_t i = fromUtf8(dir.path()).size(); i < slashed.size(); ++i) {
        if (slashed[i] == u'\\') {
            slashed[i] = u'/';
        }
    }
    ASSERT_TRUE(saveToPath(slashed, *party));
    EXPECT_NE(readLong(file), first);
    EXPECT_EQ(listLong(folder), "ts.cfg");
    auto loaded = Party::create(u"FIRST");
    ASSERT_TRUE(loadFromPath(fromUtf8(file), *loaded));
    EXPECT_EQ(describe(*loaded), describe(*party));

    // The scratch folder's removal may not reach this deep; clean up here.
    EXPECT_TRUE(DeleteFileW(extended(file).c_str()));
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        EXPECT_TRUE(RemoveDirectoryW(extended(*it).c_str()));
    }
}

TEST_F(SettingsFile, FailedSavesLeaveThePreviousFile) {
    auto party = makeParty(u"FIRST", 1, 100, {{u"A"}});
    ASSERT_TRUE(saveToPath(path(), *party));
    const std::string before = bytes();
    party->total = 2;

    {
        // Another program reads the file and does not let it be replaced.
        HeldOpen reader(dir.file("ts.cfg"), FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(reader.ok());
        EXPECT_FALSE(saveToPath(path(), *party));
    }
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(dir.listing(), "ts.cfg");

    {
        // Another program holds the file without any sharing: it can be
        // neither read nor replaced.
        HeldOpen owner(dir.file("ts.cfg"), 0);
        ASSERT_TRUE(owner.ok());
        auto loaded = Party::create(u"FIRST");
        EXPECT_FALSE(loadFromPath(path(), *loaded));
        EXPECT_EQ(describe(*loaded), "FIRST|0|100");
        EXPECT_FALSE(saveToPath(path(), *party));
    }
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(dir.listing(), "ts.cfg");

    // A file marked read-only stays as it is.
    const std::wstring name = extended(dir.file("ts.cfg"));
    ASSERT_TRUE(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(saveToPath(path(), *party));
    ASSERT_TRUE(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(dir.listing(), "ts.cfg");

    // A folder that does not exist.
    EXPECT_FALSE(saveToPath(dir.wide("missing\\ts.cfg"), *party));
    EXPECT_EQ(dir.listing(), "ts.cfg");

    // Once the file is free again the same save goes through.
    EXPECT_TRUE(saveToPath(path(), *party));
    EXPECT_NE(bytes(), before);
}

TEST_F(SettingsFile, BackupOfAnotherVersionWhileTheFileIsHeld) {
    const std::string newer = records({u"@TALLYSHARE/CONFIG,2.00", u"GROUP2,\"x\",1,2,3,4"});
    writeBytes(dir.file("ts.cfg"), newer);
    auto party = makeParty(u"FIRST", 1, 100, {});
    {
        HeldOpen reader(dir.file("ts.cfg"), FILE_SHARE_READ);
        ASSERT_TRUE(reader.ok());
        EXPECT_FALSE(saveToPath(path(), *party));
    }
    // The copy may already be there; the file itself is untouched.
    EXPECT_EQ(bytes(), newer);
    const std::string listing = dir.listing();
    EXPECT_TRUE(listing == "ts.cfg" || listing == "ts.cfg ts.cfg.bak") << listing;

    ASSERT_TRUE(saveToPath(path(), *party));
    EXPECT_EQ(readBytes(dir.file("ts.cfg.bak")), newer);
    EXPECT_EQ(bytes(), records({u"@TALLYSHARE/CONFIG,1.00", u"PEOPLE,\"FIRST\",1,100,2024/3/5"}));
    EXPECT_EQ(dir.listing(), "ts.cfg ts.cfg.bak");
}

}  // namespace
}  // namespace ts
