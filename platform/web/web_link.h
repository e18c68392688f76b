#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Links to this site that carry data in their fragment
// (storage/link_fragment.h), and the dialog that shows one with its QR
// code: the page's side is web_link.js.
namespace ts::platform::web {

// The densest QR code the link dialog shows: version 13 is 69 modules,
// 77 with the quiet zone, so that even a 360-pixel phone draws it at more
// than 4 CSS pixels a module, which a camera reads across a table. A link
// that needs a denser code is shown without one.
inline constexpr int kMaxQrVersion = 13;

// The address of this page with `data` of the link format `format`
// compressed (deflate, with its checksum) in the fragment; empty when the
// browser cannot compress or the data is too large for a link.
std::u16string linkWithData(std::string_view data, char format);

// Shows `link` in a modal dialog: its QR code where it fits one, the link
// itself and a button that copies it. Returns once the dialog is closed.
void showLinkDialog(std::u16string_view link);

// The page's fragment without '#', at most kMaxLinkFragment + 1 bytes of
// it; empty when it has none.
std::string pageFragment();

// Inflates `data` into at most `limit` bytes of `out`; false when it is no
// deflate data with an intact checksum (or the browser cannot inflate).
bool inflateLinkData(std::string_view data, std::size_t limit, std::string& out);

// Takes the fragment out of the page's address without a reload.
void forgetPageFragment();

}  // namespace ts::platform::web
