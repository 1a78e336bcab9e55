#pragma once

#include <string>
#include <vector>

namespace inkrun::cli {

// --map FROM=TO: drawing paths as the workstations of another system reach them. A path under the
// directory FROM (compared as this system compares paths) is written with TO in FROM's place and
// the rest of it joined with TO's separator: a backslash after a drive ("J:\jobs") or a share
// ("\\server\share"), a slash after a path from "/". The longest FROM that a path is under wins.
class PathMap {
public:
    // Reads each FROM=TO; a relative FROM starts in `currentDirectory`. Throws UsageError for a
    // map without "=", or whose TO is no full path of either system.
    PathMap(const std::vector<std::string>& maps, const std::string& currentDirectory);

    bool empty() const { return entries_.empty(); }

    // The path as the other system reaches it. Throws script::ScriptRefused, naming the drawing,
    // when no FROM holds it (one local path would stop the script half-way there), or when its
    // name holds a character a Windows path cannot.
    std::string map(const std::string& path) const;

private:
    struct Entry {
        std::string from;  // ending in a separator, to match whole steps only
        std::string to;    // without a trailing separator
        char separator;
    };
    std::vector<Entry> entries_;  // the longest FROM first
};

}  // namespace inkrun::cli
