#include "drawings/drawing_list_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "drawings/drawing_list.h"
#include "platform/ansi_codec.h"
#include "platform/file_error.h"
#include "platform/file_lookup.h"
#include "platform/utf8_path.h"

namespace inkrun::drawings {

namespace {

// How long the root of a full path is ("/", "C:\", "\\"), or 0 for a path that is not full.
std::size_t fullPathRoot(std::string_view path) {
#ifdef _WIN32
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
        platform::isPathSeparator(path[2]))
        return 3;
    return path.size() >= 2 && platform::isPathSeparator(path[0]) && platform::isPathSeparator(path[1]) ? 2 : 0;
#else
    return !path.empty() && path[0] == '/' ? 1 : 0;
#endif
}

// Whether the path, past its root, is steps of names only, joined by this system's separator:
// then it is taken as it stands, with no path arithmetic for each of a long list's lines.
bool isPlain(std::string_view path) {
    if (path.empty() || platform::isPathSeparator(path.front())) return false;
#ifdef _WIN32
    if (path.find_first_of("/:") != std::string_view::npos) return false;
#endif
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(path.find(platform::kPathSeparator, start), path.size());
        const std::string_view step = path.substr(start, end - start);
        if (step.empty() || step == "." || step == "..") return false;
        if (end == path.size()) return true;
        start = end + 1;
    }
}

// The full path a line names, its steps spelled as stored, or the empty text when it names none.
// The drawing directory is kept as given, as the drawing list keeps it.
std::string fullPathOf(const std::string& line, const std::string& directory, char separator,
                       platform::StoredSpelling& spelling) {
    const std::size_t root = fullPathRoot(line);
    if (isPlain(std::string_view(line).substr(root)))
        return root ? spelling.of(line, root)
                    : spelling.of(platform::joinPath(directory, line, separator), directory.size() + 1);
    namespace fs = std::filesystem;
    fs::path path = platform::pathOf(line);
    if (!path.is_absolute()) path = platform::pathOf(directory) / path;
    if (!path.is_absolute()) return {};  // "C:name" on another drive
    const std::string full = platform::textOf(path.lexically_normal());
    const bool inDirectory = !root && full.size() > directory.size() + 1 && full.starts_with(directory) &&
                             platform::isPathSeparator(full[directory.size()]);
    return spelling.of(full, inDirectory ? directory.size() + 1 : fullPathRoot(full));
}

std::string nameOf(const std::string& path) {
    std::size_t start = path.size();
    while (start > 0 && !platform::isPathSeparator(path[start - 1])) --start;
    return path.substr(start);
}

bool hasNonAscii(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
}

// The line, or the path here that a line written for another system's workstations stands for.
template <typename Refuse>
std::string lineHere(const std::string& line, const PathHere& pathHere, const Refuse& refuse) {
    if (!pathHere) return line;
    try {
        if (std::optional<std::string> here = pathHere(line)) return std::move(*here);
    } catch (const DrawingListRefused& refusal) {
        refuse(refusal.what());
    }
    return line;
}

[[noreturn]] void refuseTooLong(const std::string& listName, const std::string& how) {
    throw DrawingListRefused("Cannot build: the list " + listName + " " + how +
                             ", more than a drawing list may hold; split it into shorter lists. Nothing was written.");
}

std::string tooManyLines() { return "holds more than " + platform::groupedDigits(kMostListLines) + " lines"; }
std::string tooManyBytes() { return "is larger than " + platform::describeSize(kMostListBytes); }

}  // namespace

std::string listTooLargeReason() {
    return "it " + tooManyBytes() + ", more than a drawing list may hold; split it into shorter lists";
}

std::string readListStream(std::istream& in, const std::string& listName) {
    std::string bytes;
    std::size_t lines = 0;
    bool afterCr = false;  // a CR LF split between two reads is one line end
    char chunk[64 * 1024];
    while (in) {
        in.read(chunk, sizeof chunk);
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        for (std::size_t i = 0; i < got; ++i) {
            if (chunk[i] == '\r' || (chunk[i] == '\n' && !afterCr)) ++lines;
            afterCr = chunk[i] == '\r';
        }
        if (lines > kMostListLines) refuseTooLong(listName, tooManyLines());
        if (bytes.size() + got > kMostListBytes) refuseTooLong(listName, tooManyBytes());
        bytes.append(chunk, got);
    }
    if (in.bad()) throw platform::FileError("read", listName, "read error");
    return bytes;
}

std::vector<std::string> readDrawingList(std::string_view bytes, const std::string& listName,
                                         const std::string& directory, char separator, const PathHere& pathHere) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        throw platform::FileError(
            "read", listName,
            "it is UTF-16 text; save the list in UTF-8 with a byte-order mark, or in " + platform::ansiCodePageName());
    const bool utf8 = bytes.starts_with(platform::kUtf8Mark);
    std::string text;
    if (utf8) text = bytes.substr(platform::kUtf8Mark.size());
    else text = platform::decodeAnsi(bytes);
    // Bytes that read as UTF-8 were most likely written by an editor in UTF-8 without its mark.
    const bool looksUtf8 = !utf8 && hasNonAscii(bytes) && platform::isValidUtf8(bytes);

    std::vector<std::string> paths;
    platform::StoredSpelling spelling;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        if (++number > kMostListLines) refuseTooLong(listName, tooManyLines());
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
        if (line.empty()) continue;

        const auto refuse = [&](const std::string& why) {
            std::string message = "Cannot build: line " + std::to_string(number) + " of " + listName + ", \"" +
                                  platform::escapeControls(line) + "\", names no drawing: " + why + ".";
            if (looksUtf8 && hasNonAscii(line))
                message += " The list reads as UTF-8 text: save it in UTF-8 with a byte-order mark, or in " +
                           platform::ansiCodePageName() + ".";
            throw DrawingListRefused(message + " Nothing was written.");
        };
        if (utf8 && !platform::isValidUtf8(line))
            refuse("it is not valid UTF-8 text, though the list starts with a UTF-8 byte-order mark");
        if (line.find('\0') != std::string::npos) refuse("it holds a NUL character, which no path can hold");
        const std::string path = fullPathOf(lineHere(line, pathHere, refuse), directory, separator, spelling);
        if (path.empty()) refuse("it is neither a full path nor a path from the drawing directory");
        const std::string shown = platform::escapeControls(path);
        if (!isDrawingName(nameOf(path))) refuse(shown + " is not a drawing: its name does not end in .dwg");
        if (const auto reason = platform::whyNotOrdinary(path)) refuse(shown + ": " + *reason);
        paths.push_back(path);
    }
    return paths;
}

}  // namespace inkrun::drawings
