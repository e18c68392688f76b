#include <string>

#include "platform/window_system.h"
#include "storage/export_file.h"

namespace ts::platform {

Delivery Dialog::deliverFile(const FileToDeliver& file, std::string_view bytes) {
    const std::u16string path = askSavePath(file.name, file.typeName, file.extension);
    if (path.empty()) {
        return Delivery::Cancelled;
    }
    return writeFileAtomically(path, bytes) ? Delivery::Delivered : Delivery::Failed;
}

}  // namespace ts::platform
