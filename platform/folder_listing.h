#pragma once

#include <string>
#include <vector>

namespace inkrun::platform {

// What a walk through a tree of folders needs of one folder, read in one pass (Folder::entries):
// the names of its ordinary files (as listOrdinaryFiles gives them) and of its subfolders, hidden
// and system ones left out as the file lookup leaves out hidden files. A link counts by what it
// leads to: a link to a folder is a folder, a link that leads nowhere is neither. Names in no
// particular order.
struct FolderEntries {
    std::vector<std::string> files;
    std::vector<std::string> folders;
};

}  // namespace inkrun::platform
