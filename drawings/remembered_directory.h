#pragma once

#include <cstddef>
#include <string>

#include "model/program_settings.h"

// "DefaultFile.txt" in the settings directory remembers the drawing directory from one run to the
// next: Open Drawing Files writes it, a start reads it.

namespace inkrun::drawings {

// Writes the directory into "DefaultFile.txt", in the code page, replacing the file atomically, so
// that a start reads back the same directory. Throws FileError, and leaves the old file whole,
// when it cannot: a character the code page cannot hold, a line break or a NUL.
void rememberDrawingDirectory(const ProgramSettings& settings, const std::string& directory);

// The text of "DefaultFile.txt" without the line end an editor may have added: never part of a path.
std::string withoutEditorLineEnd(std::string text);

// The directory a remembered text names, the same for both windows and inkrun-build: a path
// of its own stays as written ("Q:", a drive letter alone, is that drive's root); a relative one
// is read in the settings directory, so the window shows, and the script holds, full paths.
// The empty text stays empty.
std::string rememberedDirectoryFrom(const std::string& text, const ProgramSettings& settings);

// The longest "DefaultFile.txt" that can hold a directory path: a path of PATH_MAX bytes and a
// line end an editor may have added. A run nobody watches refuses anything longer unread.
inline constexpr std::size_t kMaxRememberedPathBytes = 4096 + 2;

// The drawing directory "DefaultFile.txt" remembers (found whatever its letter case), or the
// empty text when there is no such file. Throws FileError when it exists but cannot be read.
// Unattended, it also stops (FileError) where the window passes over the file in silence: a file
// that is not an ordinary file, that is longer than a path, that starts with a byte-order mark,
// holds more than one line or a NUL, or that is UTF-8 text naming no directory in the code page.
std::string rememberedDrawingDirectory(const ProgramSettings& settings, SettingsReader reader = SettingsReader::Window);

// The drawing directory a run starts in: the remembered one while it exists, else the settings
// directory.
std::string startingDrawingDirectory(const std::string& remembered, const ProgramSettings& settings);

}  // namespace inkrun::drawings
