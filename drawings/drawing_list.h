#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/main_window_state.h"
#include "platform/name_order.h"

namespace inkrun::drawings {

// The names the drawing list shows, as its pattern states them.
inline constexpr const char* kDrawingPattern = "*.dwg";

// Whether a file name is a drawing: it ends in ".dwg", in any letter case.
bool isDrawingName(std::string_view name);

// Sorts names the way the drawing list shows them: in the order of a sorted Windows list box
// (platform/name_order.h). Names that order finds equal ("aeble.dwg" and "æble.dwg", or names
// that differ only in letter case) stand as such a list box holds them when Windows fills it
// from an NTFS folder: it puts each name it adds before the equal ones it holds, so the one the
// folder lists later comes first ("æble.dwg", "aeble.dwg"; "a.dwg", "A.dwg").
void sortDrawingNames(std::vector<std::string>& names);
// The same in the order of `table`, whatever this system's own.
void sortDrawingNames(std::vector<std::string>& names, const platform::NameOrderTable& table);

// The drawings a directory lists: its ordinary files (regular, not hidden) whose names end in
// ".dwg", in the list's order. Throws FileError when it cannot be read.
std::vector<std::string> listDrawings(const std::string& directory);

// Points the drawing list (File1) at a directory and reads it afresh, with no entry marked. When
// the directory cannot be listed the list is left empty, pointing at it, and FileError is thrown:
// entries of another directory beside it would put wrong paths into the next script.
void setDrawingListPath(MainWindowState& state, const std::string& directory);

}  // namespace inkrun::drawings
