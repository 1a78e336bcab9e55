#pragma once

#include <string>

namespace inkrun::cli {

// A path from the command line as a full path: a relative one starts in `currentDirectory`.
// "." and ".." steps are resolved and, like the paths the window is given, the result has no
// trailing separator except at a root.
std::string absoluteFrom(const std::string& currentDirectory, const std::string& path);

}  // namespace inkrun::cli
