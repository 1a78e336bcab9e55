#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace inkrun::cli {

// --map FROM=TO: drawing paths as the workstations of another system reach them. A path under the
// directory FROM (compared as this system compares paths) is written with TO in FROM's place and
// the rest of it joined with TO's separator: a backslash after a drive ("J:\jobs") or a share
// ("\\server\share"), a slash after a path from "/". The longest FROM that a path is under wins.
// A bare drive ("Z:", "J:") is that drive's root, as DefaultFile.txt reads it.
class PathMap {
public:
    // Reads each FROM=TO; a relative FROM starts in `currentDirectory`. Throws UsageError for a
    // map without "=", whose TO is no full path of either system, or whose Windows TO is one that
    // Windows would not read as written (no share after "\\server", a step it drops or reads as
    // a device, a character no Windows name holds).
    PathMap(const std::vector<std::string>& maps, const std::string& currentDirectory);

    bool empty() const { return entries_.empty(); }

    // The path as the other system reaches it. Throws script::ScriptRefused, naming the drawing,
    // when no FROM holds it (one local path would stop the script half-way there), or when a
    // step of it is no name that Windows would open as written.
    std::string map(const std::string& path) const;

    // The way back, for a list written on the other system: a path under a TO is the path here
    // under its FROM (a Windows TO compared without regard to case, either slash a separator);
    // nullopt for a path under no TO. Throws drawings::DrawingListRefused when two FROMs share
    // the TO, so that the path could be either.
    std::optional<std::string> pathHere(std::string_view path) const;

private:
    struct Entry {
        std::string from;  // ending in a separator, to match whole steps only
        std::string to;    // without a trailing separator
        char separator;
    };
    static std::string shownFrom(const Entry& entry);
    std::vector<Entry> entries_;  // the longest FROM first
};

}  // namespace inkrun::cli
