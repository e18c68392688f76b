#pragma once

#include <string>
#include <string_view>

namespace ts {

// One settings file, opened once for writing ("W") or reading ("R").
// Content is UTF-16 little-endian without byte-order mark; every line that
// writeLine writes is followed by one U+0000 unit.
//
// Writing is crash-safe: mode "W" writes a temporary file in the target's
// folder, and close() flushes it to disk and renames it over the target.
// Until then the previous file stays whole; on any failure it is untouched.
class TextFile {
public:
    // Longest line readLine delivers, in UTF-16 units.
    static constexpr std::size_t kMaxLine = 255;

    TextFile() = default;
    ~TextFile();  // closes; an uncommitted "W" file is discarded
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Mode u'W' or u'R'; anything else fails without opening.
    bool open(std::u16string_view path, char16_t mode);
    // Reads `bytes` as the content of a file (mode "R" without a file); the
    // bytes must outlive the reading.
    bool openBytes(std::string_view bytes);
    // Writes into memory (mode "W" without a file): close() hands the bytes
    // to `out`, which must outlive the writing. Nothing fails there but
    // memory.
    bool openBytes(std::string& out);

    // Writes the units of `text` followed by one U+0000 unit. The caller's
    // text carries its own line feed. Lines reach the file in chunks, so a
    // failed write may be reported by a later line or by close().
    bool writeLine(std::u16string_view text);

    // Next unit; false at end of file or on a read error.
    bool readChar(char16_t& unit);

    // Next line without its end (U+000A or U+0000), at most kMaxLine units.
    // True when the line ended or reached the limit; false when the file ended
    // first (the units read so far are still in `line`).
    bool readLine(std::u16string& line);

    // Reading: closes. Writing: commits the new file; false when any write,
    // the flush or the rename failed (the previous file is then untouched).
    bool close();

    bool isOpen() const;

private:
    // Hands the lines written so far to the file; false when that failed.
    bool flushPending();

    // Implementation in text_file.cpp.
    struct State;
    State* state_ = nullptr;
};

}  // namespace ts
