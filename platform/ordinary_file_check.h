#pragma once

#include <optional>
#include <string>

#include "platform/file_io.h"
#include "platform/file_lookup.h"

namespace inkrun::platform {

// What stands under a settings file's name besides an ordinary file (a directory, a FIFO, a
// device, a link that leads nowhere, a hidden file): the window passes over it as if the file
// were missing, where the person sees what follows; a run nobody watches stops and says what it
// is, rather than guess.
enum class OtherEntries { CountAsMissing, Refused };

// A file found by its name and read.
struct FileFound {
    std::string path;
    std::string bytes;
};

// Reads the ordinary file called `name` (any letter case: the exact name first, then the others
// in the order of their names) in `directory`. Each is opened from the folder, once, and judged
// by what was opened. nullopt when there is none, or the folder cannot be opened; with
// OtherEntries::Refused, anything else under the name throws NotAnOrdinaryFile, and a folder
// that cannot be listed FileError. A file that cannot be read throws FileError.
std::optional<FileFound> readOrdinaryFileNamed(const std::string& directory, const std::string& name,
                                               OtherEntries others, char separator = kPathSeparator,
                                               const std::optional<ReadLimit>& limit = std::nullopt);

}  // namespace inkrun::platform
