#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/drawing_list_model.h"  // listDrawings, defined here

namespace inkrun::drawings {

// Whether a file name is a drawing: it ends in ".dwg", in any letter case.
bool isDrawingName(std::string_view name);

// Sorts names the way the drawing list shows them: in the order of a sorted Windows list box
// (platform/name_order.h). Names that order finds equal (they differ only in letter case, or in
// characters it ignores, such as the soft hyphen) follow their code points: "A.dwg" before "a.dwg".
void sortDrawingNames(std::vector<std::string>& names);

}  // namespace inkrun::drawings
