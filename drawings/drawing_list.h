#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace inkrun::drawings {

// Whether a file name is a drawing: it ends in ".dwg", in any letter case.
bool isDrawingName(std::string_view name);

// The drawings a directory lists: its ordinary files (regular, not hidden) whose names end in
// ".dwg", in the drawing list's order. Throws FileError when it cannot be read.
std::vector<std::string> listDrawings(const std::string& directory);

// Sorts names the way the drawing list shows them: in the order of a sorted Windows list box
// (platform/name_order.h). Names that order finds equal (they differ only in letter case, or in
// characters it ignores, such as the soft hyphen) follow their code points: "A.dwg" before "a.dwg".
void sortDrawingNames(std::vector<std::string>& names);

}  // namespace inkrun::drawings
