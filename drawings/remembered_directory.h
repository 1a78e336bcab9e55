#pragma once

#include <string>

#include "model/program_settings.h"

// "DefaultFile.txt" in the settings directory remembers the drawing directory from one run to the
// next: Open Drawing Files writes it, a start reads it.

namespace inkrun::drawings {

// Writes the directory into "DefaultFile.txt", in the code page, replacing the file atomically.
// Throws FileError, and leaves the old file whole, when it cannot (a character the code page
// cannot hold among them).
void rememberDrawingDirectory(const ProgramSettings& settings, const std::string& directory);

// The text of "DefaultFile.txt" without the line end an editor may have added: never part of a path.
std::string withoutEditorLineEnd(std::string text);

// The directory a remembered text names, the same for both windows and inkrun-build: a path
// of its own stays as written ("Q:", a drive letter alone, is that drive's root); a relative one
// is read in the settings directory, so the window shows, and the script holds, full paths.
// The empty text stays empty.
std::string rememberedDirectoryFrom(const std::string& text, const ProgramSettings& settings);

// The drawing directory remembered in "DefaultFile.txt" (found whatever its letter case), or the
// empty text when there is no such ordinary file. Throws FileError when it exists but cannot be read.
std::string rememberedDrawingDirectory(const ProgramSettings& settings);

}  // namespace inkrun::drawings
