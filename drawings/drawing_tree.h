#pragma once

#include <string>
#include <vector>

#include "platform/file_error.h"
#include "platform/file_lookup.h"

namespace inkrun::drawings {

// The drawings of a folder and of the folders below it.
struct DrawingTree {
    // Full paths, each folder's drawings in the drawing list's order, then its subfolders in that
    // order, depth first. A drawing of the top folder is directory + separator + name, as the
    // drawing list gives it; below, each folder adds its name and a separator.
    std::vector<std::string> paths;
    // Subfolders that could not be read or reached, and why: their drawings are missing from `paths`.
    std::vector<platform::FileError> unreadable;
};

// Reads the tree below `directory`. Hidden and system folders are passed over, as hidden drawings
// are; a folder reached a second time (through a link, or a link loop) is read only where it is
// first reached, and a folder link the link rule refuses (platform/folder.h) is among the folders
// that cannot be read. Throws FileError when the top folder itself cannot be read.
DrawingTree listDrawingTree(const std::string& directory, char separator = platform::kPathSeparator);

}  // namespace inkrun::drawings
