#include "frontends/cli/settings_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "drawings/remembered_directory.h"
#include "platform/ansi_codec.h"
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/utf8_path.h"

namespace inkrun::cli {

namespace {

namespace fs = std::filesystem;

using platform::pathOf;
using platform::textOf;

[[noreturn]] void refuse(const std::string& path, const std::string& reason) {
    throw platform::FileError("read", path, reason);
}

}  // namespace

void requireOrdinaryIfPresent(const ProgramSettings& settings, const std::string& name) {
    const std::string& directory = settings.scriptSettingsDirectory;
    if (platform::findOrdinaryFile(directory, name, settings.separator)) return;
    // The exact name first, then the others in the order of their names, as the lookup does.
    std::vector<std::string> variants;
    std::error_code error;
    for (fs::directory_iterator it(pathOf(directory), error), end; !error && it != end; it.increment(error)) {
        const std::string entry = textOf(it->path().filename());
        if (platform::equalsIgnoringCase(entry, name)) variants.push_back(entry);
    }
    if (error) refuse(platform::joinPath(directory, name, settings.separator), platform::systemReason(error.value()));
    std::sort(variants.begin(), variants.end(), [&](const std::string& a, const std::string& b) {
        if ((a == name) != (b == name)) return a == name;
        return a < b;
    });
    for (const std::string& entry : variants) {
        const std::string path = platform::joinPath(directory, entry, settings.separator);
        if (auto reason = platform::whyNotOrdinary(path)) refuse(path, *reason);
    }
}

std::string rememberedDirectoryForBuild(const ProgramSettings& settings) {
    const std::string& name = settings.settingsFileNames[0];
    requireOrdinaryIfPresent(settings, name);
    const auto found = platform::findOrdinaryFile(settings.scriptSettingsDirectory, name, settings.separator);
    if (!found) return {};
    const std::string& path = *found;

    std::error_code error;
    const auto size = fs::file_size(pathOf(path), error);
    if (error) refuse(path, platform::systemReason(error.value()));
    const std::string tooLong = "it is longer than any directory path (over " +
                                std::to_string(kMaxRememberedPathBytes) + " bytes)";
    if (size > kMaxRememberedPathBytes) refuse(path, tooLong);
    std::string bytes = platform::readWholeFile(path);
    if (bytes.size() > kMaxRememberedPathBytes) refuse(path, tooLong);  // it grew meanwhile

    if (bytes.starts_with("\xEF\xBB\xBF"))
        refuse(path, "it starts with a UTF-8 byte-order mark; it must hold the directory in Windows-1252");
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        refuse(path, "it is UTF-16 text; it must hold the directory in Windows-1252");
    bytes = drawings::withoutEditorLineEnd(std::move(bytes));
    if (bytes.find_first_of("\r\n") != std::string::npos)
        refuse(path, "it holds more than one line; it must hold one directory path");
    if (bytes.find('\0') != std::string::npos) refuse(path, "it holds a NUL byte, which no path can hold");
    if (bytes.empty()) return {};

    const std::string directory = drawings::rememberedDirectoryFrom(platform::decodeAnsi(bytes), settings);
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

}  // namespace inkrun::cli
