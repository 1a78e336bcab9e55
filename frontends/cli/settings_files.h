#pragma once

#include <cstddef>
#include <string>

#include "model/program_settings.h"

namespace inkrun::cli {

// The longest DefaultFile.txt that can hold a directory path: a path of PATH_MAX bytes and a
// line end an editor may have added. Anything longer is refused unread.
inline constexpr std::size_t kMaxRememberedPathBytes = 4096 + 2;

// The window takes a settings file that is not an ordinary file as missing and falls back; a job
// nobody watches must stop instead. Throws FileError naming what stands under `name` (any letter
// case) in the settings directory when no ordinary file does: a directory, a FIFO, a device, a
// dangling or looping link.
void requireOrdinaryIfPresent(const ProgramSettings& settings, const std::string& name);

// The drawing directory DefaultFile.txt remembers, for the command line: the empty text when
// there is no such file. Stops (FileError) where the window would fall back silently: a file
// that is not an ordinary file, that is longer than a path, that starts with a byte-order mark,
// holds more than one line or a NUL, or that is UTF-8 text naming no directory in the code page.
// A relative path is taken from the settings directory: the script needs full paths, and that
// is the directory the window checks it against.
std::string rememberedDirectoryForBuild(const ProgramSettings& settings);

}  // namespace inkrun::cli
