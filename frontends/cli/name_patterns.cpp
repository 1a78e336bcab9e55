#include "frontends/cli/name_patterns.h"

#include <string>

#include "platform/file_lookup.h"

namespace inkrun::cli {

namespace {

// The length of the UTF-8 character starting at `at`: "?" stands for a character, not a byte.
std::size_t characterLength(std::string_view text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    return end - at;
}

}  // namespace

bool hasWildcard(std::string_view pattern) { return pattern.find_first_of("*?") != std::string_view::npos; }

bool matchesPattern(std::string_view patternText, std::string_view nameText) {
    const std::string pattern = platform::foldCase(patternText);
    const std::string name = platform::foldCase(nameText);
    // Left to right; on a mismatch the last "*" takes one more character of the name.
    std::size_t p = 0, n = 0;
    std::size_t starPattern = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = ++p;
            starName = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += characterLength(name, n);
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starPattern != std::string::npos) {
            p = starPattern;
            starName += characterLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace inkrun::cli
