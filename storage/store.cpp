#include "storage/store.h"

#include <utility>

#include "storage/atomic_file.h"
#include "storage/export_file.h"
#include "storage/system.h"

namespace ts {

namespace {

// A zero unit would silently cut the name the system sees.
bool usablePath(std::u16string_view path) {
    return !path.empty() && path.find(u'\0') == std::u16string_view::npos;
}

}  // namespace

Store::Reading FileStore::readBytes(std::string& bytes) {
    bytes.clear();
    if (!usablePath(path_)) {
        return Reading::Unreadable;
    }
    if (detail::readWholeFile(path_, bytes)) {
        return Reading::Read;
    }
    bytes.clear();
    return sys::kindOf(path_) == sys::PathKind::Missing ? Reading::Missing : Reading::Unreadable;
}

bool FileStore::writeBytes(std::string_view bytes) {
    return usablePath(path_) && writeFileAtomically(path_, bytes);
}

bool FileStore::keepCopy(std::string_view bytes) {
    return usablePath(path_) && writeFileAtomically(path_ + u".bak", bytes);
}

Store::Reading MemoryStore::readBytes(std::string& bytes) {
    bytes = bytes_;
    return bytes_.empty() ? Reading::Missing : Reading::Read;
}

bool MemoryStore::writeBytes(std::string_view bytes) {
    bytes_.assign(bytes);
    return true;
}

bool MemoryStore::keepCopy(std::string_view bytes) {
    copy_.assign(bytes);
    return true;
}

Store::Reading Store::load(std::string& bytes, const UnreadCheck& holdsUnread) {
    const Reading reading = readBytes(bytes);
    switch (reading) {
        case Reading::Read:
            if (holdsUnread(bytes)) {
                previous_ = Previous::ToKeep;
                toKeep_ = bytes;
            } else {
                previous_ = Previous::NothingToKeep;
            }
            break;
        case Reading::Missing:
            previous_ = Previous::NothingToKeep;
            break;
        case Reading::Unreadable:
            previous_ = Previous::NotOurs;
            break;
    }
    return reading;
}

bool Store::learnPrevious(const UnreadCheck& holdsUnread) {
    std::string bytes;
    switch (readBytes(bytes)) {
        case Reading::Read:
            if (holdsUnread(bytes)) {
                previous_ = Previous::ToKeep;
                toKeep_ = std::move(bytes);
            } else {
                previous_ = Previous::NothingToKeep;
            }
            return true;
        case Reading::Missing:
            previous_ = Previous::NothingToKeep;
            return true;
        case Reading::Unreadable:
            break;
    }
    return false;  // asked again at the next save
}

bool Store::save(std::string_view bytes, const UnreadCheck& holdsUnread) {
    if (previous_ == Previous::NotRead && !learnPrevious(holdsUnread)) {
        return false;
    }
    switch (previous_) {
        case Previous::NotRead:
        case Previous::NotOurs:
            return false;
        case Previous::ToKeep:
            if (!keepCopy(toKeep_)) {
                return false;
            }
            // Kept: from now on the store holds this program's own file.
            previous_ = Previous::NothingToKeep;
            toKeep_ = std::string();
            break;
        case Previous::NothingToKeep:
            break;
    }
    return writeBytes(bytes);
}

}  // namespace ts
