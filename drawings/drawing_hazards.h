#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "platform/file_lookup.h"

namespace inkrun::drawings {

// What makes the CAD program ask another question at "_open" than the script answers: every
// answer after it then lands in the wrong prompt, for the rest of the run.
struct DrawingHazard {
    enum class Kind {
        Locked,    // a lock file stands beside it ("A-101.dwl", "A-101.dwl2"): someone has it open
        ReadOnly,  // it is read-only
    };
    Kind kind;
    std::size_t drawing;   // its index among the drawings looked at
    std::string path;      // its full path here
    std::string lockFile;  // Locked: the lock file's full path
};

// Looks at each drawing: names in `directory`, or full paths when `fullPaths`. A folder that
// cannot be read adds nothing: the drawings themselves are read by the CAD program, not here.
std::vector<DrawingHazard> drawingHazards(const std::string& directory, std::span<const std::string> drawings,
                                          bool fullPaths, char separator = platform::kPathSeparator);

// The same for every drawing of a folder, read with its lock files in one pass, before any list
// of them is made: each hazard's `drawing` is kUnplaced, its `path` names it.
inline constexpr std::size_t kUnplaced = static_cast<std::size_t>(-1);
std::vector<DrawingHazard> folderHazards(const std::string& directory, char separator = platform::kPathSeparator);

}  // namespace inkrun::drawings
