// What a store does with the file it held before: read once, kept as a
// copy before it is first replaced when it holds records this program does
// not read, and never replaced when it could not be read at the start.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "storage/store.h"

namespace ts {
namespace {

// A store that writes down every call and fails where it is told to.
class ScriptedStore final : public Store {
public:
    std::u16string where() const override { return u"scripted"; }

    std::string held;
    Reading reading = Reading::Read;
    bool copyFails = false;
    bool writeFails = false;
    std::string copy;
    std::vector<std::string> calls;

protected:
    Reading readBytes(std::string& bytes) override {
        calls.emplace_back("read");
        bytes = reading == Reading::Read ? held : std::string();
        return reading;
    }
    bool writeBytes(std::string_view bytes) override {
        calls.emplace_back("write");
        if (writeFails) {
            return false;
        }
        held = bytes;
        return true;
    }
    bool keepCopy(std::string_view bytes) override {
        calls.emplace_back("copy");
        if (copyFails) {
            return false;
        }
        copy = bytes;
        return true;
    }
};

// Bytes that begin with '!' stand for a file of another version.
bool othersRecords(std::string_view bytes) {
    return bytes.starts_with('!');
}

using Calls = std::vector<std::string>;

// Whether the start read the store first or the first save does, it is
// read once, and another version's file is copied before it is replaced.
TEST(Store, WhatTheStoreHeldIsReadOnceAndKeptWhenNotOurs) {
    const struct {
        const char* what;
        std::string held;
        Store::Reading reading;
        std::string copy;
    } cases[] = {
        {"ours", "mine", Store::Reading::Read, ""},
        {"another version's", "!newer", Store::Reading::Read, "!newer"},
        {"nothing there", "", Store::Reading::Missing, ""},
    };
    for (const auto& c : cases) {
        for (const bool load : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.what << (load ? ", loaded" : ", not loaded"));
            ScriptedStore store;
            store.held = c.held;
            store.reading = c.reading;
            if (load) {
                std::string bytes;
                EXPECT_EQ(store.load(bytes, othersRecords), c.reading);
                EXPECT_EQ(bytes, c.held);
            }
            EXPECT_TRUE(store.save("first", othersRecords));
            EXPECT_TRUE(store.save("second", othersRecords));
            const Calls calls = c.copy.empty() ? Calls{"read", "write", "write"}
                                               : Calls{"read", "copy", "write", "write"};
            EXPECT_EQ(store.calls, calls);
            EXPECT_EQ(store.copy, c.copy);
            EXPECT_EQ(store.held, "second");
        }
    }
}

TEST(Store, AFileThatCouldNotBeReadAtTheStartIsNeverReplaced) {
    ScriptedStore store;
    store.held = "a party the start could not read";
    store.reading = Store::Reading::Unreadable;
    std::string bytes;
    EXPECT_EQ(store.load(bytes, othersRecords), Store::Reading::Unreadable);
    EXPECT_TRUE(bytes.empty());
    // Readable again later, it still holds what the program does not.
    store.reading = Store::Reading::Read;
    EXPECT_FALSE(store.save("empty party", othersRecords));
    EXPECT_FALSE(store.save("empty party", othersRecords));
    EXPECT_EQ(store.calls, Calls{"read"});
    EXPECT_EQ(store.held, "a party the start could not read");
}

TEST(Store, ASaveWithoutALoadTriesToReadAgainUntilItCan) {
    ScriptedStore store;
    store.held = "!newer";
    store.reading = Store::Reading::Unreadable;
    EXPECT_FALSE(store.save("mine", othersRecords));
    store.reading = Store::Reading::Read;
    EXPECT_TRUE(store.save("mine", othersRecords));
    EXPECT_EQ(store.calls, (Calls{"read", "read", "copy", "write"}));
    EXPECT_EQ(store.copy, "!newer");
}

TEST(Store, NothingIsReplacedUntilTheCopyIsMade) {
    ScriptedStore store;
    store.held = "!newer";
    std::string bytes;
    store.load(bytes, othersRecords);
    store.copyFails = true;
    EXPECT_FALSE(store.save("mine", othersRecords));
    EXPECT_EQ(store.held, "!newer");
    store.copyFails = false;
    store.writeFails = true;
    EXPECT_FALSE(store.save("mine", othersRecords));
    // Once copied, a later save does not copy what it has already kept.
    store.writeFails = false;
    EXPECT_TRUE(store.save("mine", othersRecords));
    EXPECT_EQ(store.calls, (Calls{"read", "copy", "copy", "write", "write"}));
    EXPECT_EQ(store.copy, "!newer");
    EXPECT_EQ(store.held, "mine");
}

}  // namespace
}  // namespace ts
