#pragma once

#include <string>
#include <vector>

namespace inkrun {

// The answer of an open dialog that picks one or several files, as the drawing selection takes
// it, from the full paths a toolkit's dialog gives: one path alone; or the folder of the first
// (a root with its separator, "C:\") followed by each name, where a file of another folder keeps
// its whole path. Empty for no paths.
std::vector<std::string> pickAnswer(const std::vector<std::string>& paths, char separator);

}  // namespace inkrun
