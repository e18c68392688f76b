#include "storage/link_fragment.h"

#include <gtest/gtest.h>

#include <string>

namespace ts {
namespace {

std::string allBytes(std::size_t count) {
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i) {
        bytes.push_back(static_cast<char>((i * 167 + 13) & 0xFF));
    }
    return bytes;
}

TEST(LinkFragment, IsTheFormatDigitAndBase64urlWithoutPadding) {
    // RFC 4648's examples, and the two characters base64url has of its own.
    const struct {
        std::string data;
        std::string fragment;
    } cases[] = {
        {"f", "1Zg"},          {"fo", "1Zm8"},
        {"foo", "1Zm9v"},      {"foob", "1Zm9vYg"},
        {"fooba", "1Zm9vYmE"}, {"foobar", "1Zm9vYmFy"},
        {"\xFB\xFF", "1-_8"},  {std::string(1, '\0'), "1AA"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(linkFragment(c.data, kLinkFormat), c.fragment);
        std::string back;
        char format = 0;
        EXPECT_EQ(readLinkFragment(c.fragment, back, format), FragmentReading::Read) << c.fragment;
        EXPECT_EQ(back, c.data) << c.fragment;
        EXPECT_EQ(format, '1');
    }
    // An evening's data takes the next digit; no other digit is made.
    std::string back;
    char format = 0;
    EXPECT_EQ(linkFragment("foo", kEveningLinkFormat), "2Zm9v");
    EXPECT_EQ(readLinkFragment("2Zm9v", back, format), FragmentReading::Read);
    EXPECT_EQ(format, '2');
    EXPECT_EQ(linkFragment("foo", '3'), "");
}

TEST(LinkFragment, EveryByteComesBackUpToTheLargestData) {
    for (const std::size_t size : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{256},
                                   std::size_t{1000}, kMaxLinkData}) {
        const std::string data = allBytes(size);
        const std::string fragment = linkFragment(data, kLinkFormat);
        ASSERT_FALSE(fragment.empty()) << size;
        std::string back;
        char format = 0;
        EXPECT_EQ(readLinkFragment(fragment, back, format), FragmentReading::Read) << size;
        EXPECT_EQ(back, data) << size;
    }
    EXPECT_EQ(linkFragment(allBytes(kMaxLinkData), kLinkFormat).size(), kMaxLinkFragment);
    EXPECT_EQ(linkFragment(allBytes(kMaxLinkData + 1), kLinkFormat), "");
}

TEST(LinkFragment, RefusesWhatItDoesNotMake) {
    const std::string tooLong = "1" + std::string(kMaxLinkFragment, 'A');
    const struct {
        const char* what;
        std::string fragment;
        FragmentReading reading;
    } cases[] = {
        {"nothing", "", FragmentReading::Malformed},
        {"no format digit", "Zm9v", FragmentReading::Malformed},
        {"a fragment of some other page", "top", FragmentReading::Malformed},
        {"the format without data", "1", FragmentReading::Malformed},
        {"one character left over", "1Zm9vY", FragmentReading::Malformed},
        {"padding", "1Zg==", FragmentReading::Malformed},
        {"base64's own characters", "1+/8", FragmentReading::Malformed},
        {"a space", "1Zm9 v", FragmentReading::Malformed},
        {"percent-encoded", "1Zm%39v", FragmentReading::Malformed},
        {"a zero byte", std::string("1Zm\0v", 5), FragmentReading::Malformed},
        {"a non-ASCII character", "1Zm9v\xC3\xA9", FragmentReading::Malformed},
        {"bits left in the last character", "1Zh", FragmentReading::Malformed},
        {"longer than any link", tooLong, FragmentReading::TooLarge},
        {"a later format", "3Zm9v", FragmentReading::Newer},
        {"a later format, however long", "9" + tooLong, FragmentReading::Newer},
        {"a later format, whatever follows", "3%%", FragmentReading::Newer},
        {"an evening, broken", "2Zm9 v", FragmentReading::Malformed},
    };
    for (const auto& c : cases) {
        std::string data = "untouched";
        char format = 'x';
        EXPECT_EQ(readLinkFragment(c.fragment, data, format), c.reading) << c.what;
        EXPECT_EQ(data, "untouched") << c.what;
        EXPECT_EQ(format, 'x') << c.what;
    }
}

}  // namespace
}  // namespace ts
