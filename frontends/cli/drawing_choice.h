#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "frontends/cli/command_line.h"
#include "frontends/cli/path_map.h"
#include "model/plain_window_state.h"
#include "model/program_settings.h"

// The drawings a command line chooses, and the directory they are chosen in.

namespace inkrun::cli {

// The drawing directory: the one given, else the one "DefaultFile.txt" remembers, else (no such
// file, or an empty one) the settings directory. A "DefaultFile.txt" the window would pass over
// stops the build. Throws UsageError for a directory, given or remembered, that does not exist or
// cannot be read: the window would fall back, but a job must not build for another folder.
std::string drawingDirectoryFor(const ProgramSettings& settings, const Options& options,
                                const std::string& currentDirectory);

// The drawings of the state's drawing directory that the options choose. Names and --all mark
// them in the drawing list, as a person of the window would, and give nullopt; --recursive and
// --from-list give them as full paths, and a subfolder that cannot be read adds a warning. A list
// line under a TO of `map` is read as the path under its FROM.
// Throws UsageError for a name that is no drawing there, or a list file that does not exist.
std::optional<std::vector<std::string>> chooseDrawings(PlainWindowState& state, const Options& options, char separator,
                                                       std::istream& in, const std::string& currentDirectory,
                                                       const PathMap& map, std::vector<std::string>& warnings);

// Where the options looked for drawings and found none, to follow "No files selected.": the
// folder and the pattern, the list file, or that no drawing was named.
std::string whereNoDrawingsWereFound(const Options& options, const std::string& directory,
                                     const std::string& currentDirectory);

}  // namespace inkrun::cli
