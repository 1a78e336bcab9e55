#pragma once

#include <string_view>

namespace inkrun::cli {

// Drawing names as typed at a Windows prompt, where the shell hands "*" and "?" to the program
// rather than expanding them: "*" stands for any run of characters, "?" for one, and letters
// match without regard to case, as Windows matches every name.
bool hasWildcard(std::string_view pattern);
bool matchesPattern(std::string_view pattern, std::string_view name);

}  // namespace inkrun::cli
