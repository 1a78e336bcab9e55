#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace inkrun::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Whether `c` ends a step of a path written for `separator`: the separator itself, or a slash,
// which Windows takes as one too.
inline constexpr bool isPathSeparator(char c, char separator = kPathSeparator) { return c == separator || c == '/'; }

// directory + separator + name, with the directory unchanged (a root gives two separators).
std::string joinPath(std::string_view directory, std::string_view name, char separator = kPathSeparator);

// A drive letter and its colon alone ("Q:"): on Windows it names that drive's root.
bool isBareDrive(std::string_view path);

// The path that `path` names when it is read in the directory `base`, by the system's rules for
// `separator`. A path of its own (from a root, a drive or a server) stays exactly as written. A
// relative one is joined to `base` without its "." steps; on Windows ('\\') its ".." steps are
// taken back as Windows itself takes them, "\x" starts at the root of base's drive, and "Q:x" is
// taken in base when base is on drive Q, else in Q's root.
std::string absolutePathFrom(std::string_view base, std::string_view path, char separator = kPathSeparator);

// Case folding for name comparison: every upper/lower pair of Windows-1252, in UTF-8. Keeps the
// byte length.
std::string foldCase(std::string_view utf8);
bool equalsIgnoringCase(std::string_view a, std::string_view b);
// Whether `name` is longer than `ending` and ends in it, without regard to case.
bool endsWithIgnoringCase(std::string_view name, std::string_view ending);
// Names that equal `name` without regard to case put in the order a lookup tries them: the exact
// name first, then the others in the order of their names.
void sortExactNameFirst(std::vector<std::string>& names, const std::string& name);
// A number that names equal without regard to case share, and most other names do not: it reads
// only a long name's length and ends, so that a directory's every name can have one cheaply.
std::uint64_t caseBlindFingerprint(std::string_view name);

// Whether a directory entry counts as an ordinary file: a regular file (symlinks followed) that is
// not hidden (no leading dot). Directories, FIFOs, sockets and devices never count.
bool isOrdinaryFile(const std::string& directory, const std::string& name);

// Names of the ordinary files in a directory, in no particular order.
// Throws FileError("list", directory, reason) when the directory cannot be read.
std::vector<std::string> listOrdinaryFiles(const std::string& directory);

// The path through which an ordinary file called `name` in `directory` is reached: the exact name
// when it is an ordinary file, else the first ordinary file whose name equals it without regard
// to case. nullopt when there is none or the directory cannot be read.
std::optional<std::string> findOrdinaryFile(const std::string& directory, const std::string& name,
                                            char separator = kPathSeparator);

// The ordinary files of a directory whose names equal `name` without regard to case, the exact
// name among them. Reads the directory without holding its whole listing.
// Throws FileError("list", directory, reason) when the directory cannot be read.
std::vector<std::string> listCaseVariants(const std::string& directory, const std::string& name);

// Why the entry at `path` is no ordinary file, in the user's words ("it is a FIFO, not an
// ordinary file", "it is a symbolic link to nothing (dangling)", a hidden file; on Windows also
// a system file), or nullopt when it is one.
std::optional<std::string> whyNotOrdinary(const std::string& path);

// Paths written as the folders on the way store their names. Where a folder ignores letter case
// (Windows), a name in another case, or given by its 8.3 short name, is written as the folder
// lists it; a step that is not there, and everything after it, stays as given. Where names are
// found only as spelled (POSIX), a path stays as it is. The folders looked up are remembered, so
// that the paths of one list cost a lookup each for the folders they share.
class StoredSpelling {
public:
    // `path` with each step after its first `kept` bytes (and after its root) spelled as stored.
    std::string of(const std::string& path, std::size_t kept);

private:
    std::unordered_map<std::string, std::string> folders_;  // a folder as given: as stored
};

// True only for an existing directory (symlinks followed). Never throws.
bool dirExists(const std::string& path) noexcept;

// The process's current directory.
std::string currentDirectory();

}  // namespace inkrun::platform
