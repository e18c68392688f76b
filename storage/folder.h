#pragma once

#include <string>
#include <string_view>
#include <vector>

// Folders of the program's own files: joining a name to a folder, listing
// the files in one, making one that only its owner may enter.
namespace ts {

// `folder` and `name` joined by the system's separator.
std::u16string pathInFolder(std::u16string_view folder, std::u16string_view name);

// The names of the regular files in `folder` (links followed), in name
// order; empty when the folder cannot be read.
std::vector<std::u16string> regularFilesIn(std::u16string_view folder);

// True when nothing at all is at `path`: no file, no folder, not even a
// link that leads nowhere.
bool nothingAt(std::u16string_view path);

// Makes `folder` and each missing folder above it, every new one for its
// owner only; true when `folder` is a folder afterwards.
bool makePrivateFolders(std::u16string_view folder);

}  // namespace ts
