#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The fragment of a link that carries data to another device (what follows
// '#' in its address; a browser never sends it to a server): a digit that
// names the format of the data, then the data in base64url (RFC 4648,
// section 5) without padding. Format '1' is a compressed party link payload,
// format '2' a compressed evening link payload (ui/party_link.h); a later
// format takes another digit, so that this version can tell such a link
// from a broken one.
namespace ts {

inline constexpr char kLinkFormat = '1';
inline constexpr char kEveningLinkFormat = '2';

// The most data a fragment carries: room for the largest payload a link
// reads (64 KiB) even when it does not compress at all, with what deflate
// then adds.
inline constexpr std::size_t kMaxLinkData = std::size_t{65} << 10;
// The longest fragment read: the format digit and kMaxLinkData in base64url.
inline constexpr std::size_t kMaxLinkFragment = 1 + (kMaxLinkData * 4 + 2) / 3;

// The fragment for `data` of the format `format` (kLinkFormat or
// kEveningLinkFormat); empty when the data is larger than kMaxLinkData.
std::string linkFragment(std::string_view data, char format);

enum class FragmentReading {
    Read,
    Malformed,  // not format digit + base64url: cut, altered, or no link at all
    TooLarge,   // longer than kMaxLinkFragment
    Newer,      // a format this version does not know
};

// Reads a fragment back into its data and format, strictly: only what
// linkFragment makes is read. Any other reading leaves both alone.
FragmentReading readLinkFragment(std::string_view fragment, std::string& data, char& format);

}  // namespace ts
