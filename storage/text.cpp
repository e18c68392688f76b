#include "storage/text.h"

#include <cstddef>

namespace ts {

std::u16string decimalText(std::int64_t value) {
    // Work on the magnitude as unsigned so that the lowest value needs no
    // special case.
    std::uint64_t magnitude =
        value < 0 ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char16_t digits[20];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);

    std::u16string text;
    text.reserve(count + 1);
    if (value < 0) {
        text.push_back(u'-');
    }
    while (count > 0) {
        text.push_back(digits[--count]);
    }
    return text;
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

}  // namespace

bool dropLoneSurrogates(std::u16string& text, std::size_t& caret) {
    std::size_t kept = 0;
    std::size_t newCaret = caret;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isSurrogatePairAt(text, i)) {
            text[kept++] = text[i++];
            text[kept++] = text[i];
        } else if (isSurrogate(text[i])) {
            if (i < caret) {
                --newCaret;
            }
        } else {
            text[kept++] = text[i];
        }
    }
    if (kept == text.size()) {
        return false;
    }
    text.resize(kept);
    caret = newCaret;
    return true;
}

bool cutToWholeCharacters(std::u16string& text, std::size_t units) {
    const bool cut = text.size() > units;
    if (cut) {
        text.resize(units);
    }
    std::size_t caret = text.size();
    return dropLoneSurrogates(text, caret) || cut;
}

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        if (isSurrogatePairAt(text, i)) {
            char32_t low = text[++i];
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else if (isSurrogate(unit)) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::u16string fromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1F;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0F;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07;
            minimum = 0x10000;
        }
        // Take the continuation bytes; a malformed sequence yields one
        // replacement character and resumes at the first byte not taken.
        std::size_t taken = 1;
        bool valid = length != 0;
        while (valid && taken < length) {
            if (i + taken >= text.size()) {
                valid = false;
                break;
            }
            const auto next = static_cast<unsigned char>(text[i + taken]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (next & 0x3F);
            ++taken;
        }
        if (valid && (cp < minimum || cp > 0x10FFFF || isSurrogate(cp))) {
            valid = false;
        }
        appendUtf16(out, valid ? cp : kReplacement);
        i += taken;
    }
    return out;
}

}  // namespace ts
