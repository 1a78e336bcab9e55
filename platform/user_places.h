#pragma once

#include <optional>
#include <string>

// What the system tells about the person running the program: the time where they are, and the
// folder kept for this program's data among their own files.

namespace inkrun::platform {

// A moment to the second, as the person's clock shows it.
struct LocalTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    bool operator==(const LocalTime&) const = default;
};

LocalTime localTimeNow();

// The folder for this program's data among the person's own files, which only they may write:
// "Inkrun" in their local application data on Windows (%LOCALAPPDATA%), "inkrun" in
// $XDG_DATA_HOME (~/.local/share) elsewhere. It may not exist yet. nullopt when the system names
// no such place (no home folder).
std::optional<std::string> userDataFolder();

}  // namespace inkrun::platform
