#include "storage/export_file.h"

#include "storage/atomic_file.h"

namespace ts {

bool writeFileAtomically(std::u16string_view path, std::string_view bytes) {
    detail::AtomicFile file;
    // An uncommitted file is discarded when `file` goes.
    return file.begin(path) && file.write(bytes.data(), bytes.size()) && file.commit();
}

bool readFileBytes(std::u16string_view path, std::string& bytes, std::size_t maxBytes) {
    if (!detail::readWholeFile(path, bytes) || bytes.size() > maxBytes) {
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace ts
