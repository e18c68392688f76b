#include "storage/link_fragment.h"

#include <array>
#include <cstdint>
#include <utility>

namespace ts {

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

constexpr int kNotInAlphabet = -1;

constexpr std::array<int, 256> kValues = [] {
    std::array<int, 256> values{};
    values.fill(kNotInAlphabet);
    for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
        values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int>(i);
    }
    return values;
}();

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isKnownFormat(char c) {
    return c == kLinkFormat || c == kEveningLinkFormat;
}

}  // namespace

std::string linkFragment(std::string_view data, char format) {
    if (data.size() > kMaxLinkData || !isKnownFormat(format)) {
        return {};
    }
    std::string fragment(1, format);
    fragment.reserve(1 + (data.size() * 4 + 2) / 3);
    std::uint32_t bits = 0;
    int count = 0;
    for (const char byte : data) {
        bits = (bits << 8) | static_cast<unsigned char>(byte);
        count += 8;
        while (count >= 6) {
            count -= 6;
            fragment.push_back(kAlphabet[(bits >> count) & 0x3F]);
        }
    }
    if (count > 0) {
        fragment.push_back(kAlphabet[(bits << (6 - count)) & 0x3F]);
    }
    return fragment;
}

FragmentReading readLinkFragment(std::string_view fragment, std::string& data, char& format) {
    if (fragment.empty() || !isDigit(fragment[0])) {
        return FragmentReading::Malformed;
    }
    // A later format may be longer: it is named as such, not as too large.
    if (!isKnownFormat(fragment[0])) {
        return FragmentReading::Newer;
    }
    if (fragment.size() > kMaxLinkFragment) {
        return FragmentReading::TooLarge;
    }
    const std::string_view text = fragment.substr(1);
    // Base64 without padding never leaves one character over; no data is
    // no link either.
    if (text.empty() || text.size() % 4 == 1) {
        return FragmentReading::Malformed;
    }
    std::string out;
    out.reserve(text.size() * 3 / 4);
    std::uint32_t bits = 0;
    int count = 0;
    for (const char c : text) {
        const int value = kValues[static_cast<unsigned char>(c)];
        if (value == kNotInAlphabet) {
            return FragmentReading::Malformed;
        }
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out.push_back(static_cast<char>((bits >> count) & 0xFF));
        }
    }
    // The bits left over are the padding of the last character: zero in
    // what linkFragment makes.
    if ((bits & ((1u << count) - 1)) != 0) {
        return FragmentReading::Malformed;
    }
    data = std::move(out);
    format = fragment[0];
    return FragmentReading::Read;
}

}  // namespace ts
