#include "storage/text_file.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <new>

#include "storage/atomic_file.h"
#include "storage/system.h"
#include "storage/text.h"

namespace ts {

// Reading goes through a buffer, but every result is the one that reading
// two bytes per request would give: a single odd byte at the end of the file
// is delivered as one unit holding that byte as its low byte (high byte 0),
// and only the next read reports the end.
struct TextFile::State {
    char16_t mode = 0;
    sys::File in = sys::kNoFile;      // mode 'R' from a file
    std::string_view memory;          // mode 'R' from bytes: what is left of them
    detail::AtomicFile out;           // mode 'W' to a file
    std::string* bytesOut = nullptr;  // mode 'W' into memory
    std::array<unsigned char, 8192> buffer{};
    std::size_t begin = 0;  // first unread byte in buffer
    std::size_t end = 0;    // one past the last byte in buffer
    std::string pending;    // mode 'W': lines not handed to the file yet
};

namespace {

// Lines are handed to the file in pieces of about this size rather than one
// by one: a large party is thousands of lines.
constexpr std::size_t kWriteChunk = std::size_t{64} << 10;

// Takes up to `size` bytes from the front of `memory`: the count taken.
std::ptrdiff_t takeBytes(std::string_view& memory, unsigned char* to, std::size_t size) {
    const std::size_t n = std::min(size, memory.size());
    std::copy_n(memory.data(), n, to);
    memory.remove_prefix(n);
    return static_cast<std::ptrdiff_t>(n);
}

}  // namespace

TextFile::~TextFile() {
    if (state_ != nullptr) {
        if (state_->in != sys::kNoFile) {
            sys::closeFile(state_->in);
        }
        delete state_;  // an uncommitted "W" file is discarded with it
    }
}

bool TextFile::open(std::u16string_view path, char16_t mode) {
    if (state_ != nullptr || (mode != u'W' && mode != u'R')) {
        return false;
    }
    // A zero unit would silently cut the name the system sees.
    if (path.empty() || path.find(u'\0') != std::u16string_view::npos) {
        return false;
    }
    auto* state = new (std::nothrow) State;
    if (state == nullptr) {
        return false;
    }
    state->mode = mode;
    bool opened = false;
    if (mode == u'W') {
        opened = state->out.begin(path);
    } else {
        // Only regular files are read.
        state->in = sys::openForReading(path);
        opened = state->in != sys::kNoFile;
    }
    if (!opened) {
        delete state;
        return false;
    }
    state_ = state;
    return true;
}

bool TextFile::openBytes(std::string_view bytes) {
    if (state_ != nullptr) {
        return false;
    }
    state_ = new (std::nothrow) State;
    if (state_ == nullptr) {
        return false;
    }
    state_->mode = u'R';
    state_->memory = bytes;
    return true;
}

bool TextFile::openBytes(std::string& out) {
    if (state_ != nullptr) {
        return false;
    }
    state_ = new (std::nothrow) State;
    if (state_ == nullptr) {
        return false;
    }
    state_->mode = u'W';
    state_->bytesOut = &out;
    return true;
}

bool TextFile::writeLine(std::u16string_view text) {
    if (state_ == nullptr || state_->mode != u'W') {
        return false;
    }
    // Little-endian units, then the zero unit.
    std::string& bytes = state_->pending;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    bytes.append(2, '\0');
    return state_->bytesOut != nullptr || bytes.size() < kWriteChunk || flushPending();
}

bool TextFile::readChar(char16_t& unit) {
    if (state_ == nullptr || state_->mode != u'R') {
        return false;
    }
    State& s = *state_;
    if (s.end - s.begin < 2) {
        // Move the odd byte (if any) to the front and top the buffer up.
        const std::size_t kept = s.end - s.begin;
        if (kept == 1) {
            s.buffer[0] = s.buffer[s.begin];
        }
        s.begin = 0;
        s.end = kept;
        bool error = false;
        while (s.end < 2) {
            const std::ptrdiff_t n =
                s.in != sys::kNoFile
                    ? sys::readSome(s.in, s.buffer.data() + s.end, s.buffer.size() - s.end)
                    : takeBytes(s.memory, s.buffer.data() + s.end, s.buffer.size() - s.end);
            if (n < 0) {
                error = true;
            }
            if (n <= 0) {
                break;
            }
            s.end += static_cast<std::size_t>(n);
        }
        if (s.end == 0 || (s.end == 1 && error)) {
            return false;
        }
        if (s.end == 1) {
            unit = s.buffer[0];
            s.begin = 1;
            return true;
        }
    }
    unit = static_cast<char16_t>(s.buffer[s.begin] | (s.buffer[s.begin + 1] << 8));
    s.begin += 2;
    return true;
}

bool TextFile::readLine(std::u16string& line) {
    line.clear();
    char16_t unit = 0;
    for (;;) {
        if (!readChar(unit)) {
            return false;
        }
        if (unit == u'\n' || unit == u'\0') {
            return true;
        }
        if (line.size() >= kMaxLine) {
            return true;  // the unit that did not fit is dropped
        }
        line.push_back(unit);
    }
}

bool TextFile::close() {
    if (state_ == nullptr) {
        return false;
    }
    bool ok = true;
    if (state_->bytesOut != nullptr) {
        *state_->bytesOut = std::move(state_->pending);
    } else if (state_->mode == u'W') {
        ok = flushPending() && state_->out.commit();
    } else if (state_->in != sys::kNoFile) {
        ok = sys::closeFile(state_->in);
        state_->in = sys::kNoFile;
    }
    delete state_;
    state_ = nullptr;
    return ok;
}

bool TextFile::flushPending() {
    std::string& bytes = state_->pending;
    const bool written = bytes.empty() || state_->out.write(bytes.data(), bytes.size());
    bytes.clear();
    return written;
}

bool TextFile::isOpen() const {
    return state_ != nullptr;
}

}  // namespace ts
