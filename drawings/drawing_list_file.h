#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_lookup.h"

namespace inkrun::drawings {

// A line of a drawing list that names no drawing; the message names the list, the line's number
// and text, and why.
class DrawingListRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The most a drawing list may hold, ten times the largest jobs measured: a list that never ends
// (a runaway pipe) stops the build at either, naming the list, rather than fill memory.
inline constexpr std::size_t kMostListLines = 1'000'000;
inline constexpr std::uint64_t kMostListBytes = std::uint64_t{64} << 20;

// Why a list file longer than kMostListBytes is refused, for platform::ReadLimit.
std::string listTooLargeReason();

// The bytes of a list read from a stream (standard input), up to the bounds above; past either,
// DrawingListRefused naming the list. A stream that fails throws FileError("read", listName, ...).
std::string readListStream(std::istream& in, const std::string& listName);

// The drawings a list file names, one a line, as a CAD manager keeps them in a text file, in the
// list's order. `bytes` is the file: in the code page, or UTF-8 when it starts with its byte-order
// mark (UTF-16 is refused with FileError("read", listName, ...)). Lines end in CR LF, LF or CR.
// Blank lines are passed over, and so are blanks at a line's end: a drawing's name ends in ".dwg".
//
// A line is a full path, or a path from `directory`, which is put before it as the drawing list
// does: directory + separator + line. "." and ".." steps and doubled separators are resolved
// (and, on Windows, "/" becomes "\"), so that the script holds the file that was checked. Every
// line must name an existing ordinary drawing file: a ".dwg" file that is not hidden, a directory
// or a device. Else DrawingListRefused; `listName` is how the message names the list. So too a
// list of more than kMostListLines lines.
//
// Where a folder ignores letter case, each step of the line is written as the folder stores it
// ("tower\t-2.DWG" as "Tower\T-2.dwg"), so that the script names the file a system that tells
// case apart can open too; the drawing directory stays as given. Where case counts, a line names
// the file exactly.
//
// `pathHere`, when given, reads first a line written as another system's workstations reach the
// drawing: it gives the path here, or nullopt for a line that is no such path, and refuses a line
// by throwing DrawingListRefused with the reason alone.
using PathHere = std::function<std::optional<std::string>(std::string_view line)>;
std::vector<std::string> readDrawingList(std::string_view bytes, const std::string& listName,
                                         const std::string& directory, char separator = platform::kPathSeparator,
                                         const PathHere& pathHere = {});

}  // namespace inkrun::drawings
