#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace inkrun::drawings {

// Whether a file name is a drawing: it ends in ".dwg", in any letter case.
bool isDrawingName(std::string_view name);

// The drawings a directory lists: its ordinary files (regular, not hidden) whose names end in
// ".dwg", sorted by name without regard to case. Throws FileError when it cannot be read.
std::vector<std::string> listDrawings(const std::string& directory);

// Sorts names the way the drawing list shows them.
void sortDrawingNames(std::vector<std::string>& names);

}  // namespace inkrun::drawings
