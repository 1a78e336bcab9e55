#pragma once

#include <string>
#include <vector>

namespace inkrun::platform {

// What a walk through a tree of folders needs of one folder, read in one pass: the names of its
// ordinary files (as listOrdinaryFiles gives them) and of its subfolders, hidden and system ones
// left out as the file lookup leaves out hidden files. Links are followed: a link to a folder is
// a folder, a link that leads nowhere is neither. Names in no particular order.
struct FolderEntries {
    std::vector<std::string> files;
    std::vector<std::string> folders;
};

// Throws FileError("list", directory, reason) when the folder cannot be read.
FolderEntries listFolder(const std::string& directory);

}  // namespace inkrun::platform
