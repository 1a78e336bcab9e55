#include "drawings/remembered_directory.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/ansi_codec.h"
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/ordinary_file_check.h"

namespace inkrun::drawings {

namespace {

[[noreturn]] void refuse(const std::string& path, const std::string& reason) {
    throw platform::FileError("read", path, reason);
}

// The unattended reading of the file's bytes: only one directory path, in the code page.
std::string strictlyRead(const std::string& path, std::string bytes, const ProgramSettings& settings) {
    if (bytes.starts_with(platform::kUtf8Mark))
        refuse(path, "it starts with a UTF-8 byte-order mark; it must hold the directory in Windows-1252");
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        refuse(path, "it is UTF-16 text; it must hold the directory in Windows-1252");
    bytes = withoutEditorLineEnd(std::move(bytes));
    if (bytes.find_first_of("\r\n") != std::string::npos)
        refuse(path, "it holds more than one line; it must hold one directory path");
    if (bytes.find('\0') != std::string::npos) refuse(path, "it holds a NUL byte, which no path can hold");
    if (bytes.empty()) return {};

    const std::string directory = rememberedDirectoryFrom(platform::decodeAnsi(bytes), settings);
    const bool hasNonAscii = std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    // Bytes that read as UTF-8 were most likely written by an editor in UTF-8; the code page's
    // reading is still taken when it names a directory, as the window would.
    if (hasNonAscii && platform::isValidUtf8(bytes) && !platform::dirExists(directory))
        refuse(path, "it reads as UTF-8 text (\"" + bytes +
                         "\"), but it must hold the directory in Windows-1252, "
                         "where it names \"" +
                         directory + "\", which does not exist");
    return directory;
}

}  // namespace

void rememberDrawingDirectory(const ProgramSettings& settings, const std::string& directory) {
    // The file holds one line: a directory whose name holds a line end or a NUL would read back as another.
    if (directory.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        throw platform::FileError("write", settings.defaultFilePath(),
                                  "the drawing directory \"" + platform::escapeControls(directory) +
                                      "\" holds a line break or a NUL, which the file cannot hold as one path");
    platform::writeFileAtomically(settings.defaultFilePath(), platform::encodeAnsi(directory));
}

std::string withoutEditorLineEnd(std::string text) {
    if (text.ends_with("\r\n")) text.resize(text.size() - 2);
    else if (text.ends_with('\n') || text.ends_with('\r')) text.pop_back();
    return text;
}

std::string rememberedDirectoryFrom(const std::string& text, const ProgramSettings& settings) {
    if (text.empty()) return text;
    return platform::absolutePathFrom(settings.scriptSettingsDirectory, text, settings.separator);
}

std::string rememberedDrawingDirectory(const ProgramSettings& settings, SettingsReader reader) {
    const bool unattended = reader == SettingsReader::Unattended;
    // Unattended, a file longer than a path is refused unread.
    std::optional<platform::ReadLimit> limit;
    if (unattended)
        limit = platform::ReadLimit{kMaxRememberedPathBytes, "it is longer than any directory path (over " +
                                                                 std::to_string(kMaxRememberedPathBytes) + " bytes)"};
    auto found = platform::readOrdinaryFileNamed(
        settings.scriptSettingsDirectory, settings.settingsFileNames[0],
        unattended ? platform::OtherEntries::Refused : platform::OtherEntries::CountAsMissing, settings.separator,
        limit);
    if (!found) return {};
    if (unattended) return strictlyRead(found->path, std::move(found->bytes), settings);
    return rememberedDirectoryFrom(withoutEditorLineEnd(platform::decodeAnsi(found->bytes)), settings);
}

std::string startingDrawingDirectory(const std::string& remembered, const ProgramSettings& settings) {
    return remembered.empty() || !platform::dirExists(remembered) ? settings.scriptSettingsDirectory : remembered;
}

}  // namespace inkrun::drawings
