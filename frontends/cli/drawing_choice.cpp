#include "frontends/cli/drawing_choice.h"

#include <filesystem>
#include <iterator>
#include <new>
#include <stdexcept>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "drawings/drawing_list.h"
#include "drawings/drawing_list_file.h"
#include "drawings/drawing_tree.h"
#include "drawings/remembered_directory.h"
#include "frontends/cli/cli_paths.h"
#include "frontends/cli/name_patterns.h"
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/folder.h"
#include "platform/utf8_path.h"

namespace inkrun::cli {

namespace {

// Windows hands "*" and "?" to the program; other systems' shells have expanded them already.
constexpr bool kMatchesPatterns = platform::kPathSeparator == '\\';

// The entries of the list a name given on the command line stands for: itself, or on Windows
// every name it matches, as Windows matches names.
std::vector<std::string> entriesNamed(const std::vector<std::string>& entries, const std::string& name) {
    std::vector<std::string> found;
    for (const std::string& entry : entries)
        if (kMatchesPatterns ? matchesPattern(name, entry) : entry == name) found.push_back(entry);
    return found;
}

// The list's marks as the person of the window would set them.
void selectDrawings(PlainWindowState& state, const Options& options) {
    if (options.drawings == DrawingSource::All) {
        state.selectAll();
        return;
    }
    if (options.names.empty()) return;  // the build reports "No files selected."
    const std::vector<std::string> entries = state.drawingListEntries();
    std::unordered_set<std::string> wanted;
    for (const std::string& name : options.names) {
        const std::vector<std::string> found = entriesNamed(entries, name);
        if (found.empty())
            throw UsageError("'" + name + "' " +
                             (kMatchesPatterns && hasWildcard(name) ? "matches no drawing" : "is not a drawing") +
                             " in " + state.drawingListPath());
        wanted.insert(found.begin(), found.end());
    }
    state.markDrawings(wanted);
}

// The list file's bytes: the file, or standard input for "-", at most a list's bounds.
std::string listBytes(const std::string& listName, const std::string& shownName, std::istream& in) {
    if (listName == "-") return drawings::readListStream(in, shownName);
    std::error_code error;
    if (!std::filesystem::exists(platform::pathOf(listName), error))
        throw UsageError("list file '" + listName + "' does not exist");
    return platform::readWholeFile(listName,
                                   platform::ReadLimit{drawings::kMostListBytes, drawings::listTooLargeReason()});
}

// The list file as a full path; "-" for standard input.
std::string listNameOf(const Options& options, const std::string& currentDirectory) {
    return options.listFile == "-" ? "-" : absoluteFrom(currentDirectory, options.listFile);
}

}  // namespace

std::string drawingDirectoryFor(const ProgramSettings& settings, const Options& options,
                                const std::string& currentDirectory) {
    if (!options.drawingDirectory) {
        const std::string remembered = drawings::rememberedDrawingDirectory(settings, SettingsReader::Unattended);
        if (remembered.empty()) return settings.scriptSettingsDirectory;
        // Where the window falls back to the settings directory, a job nobody watches would
        // build for the wrong folder (an unmounted share, a drive not mapped for a task).
        const auto refuse = [&](const std::string& why) {
            throw UsageError(settings.settingsFileNames[0] + " in " + settings.scriptSettingsDirectory +
                             " remembers the drawing directory '" + remembered + "', which " + why +
                             ". Name the drawing directory with --dir. Nothing was written.");
        };
        try {
            if (!platform::Folder::openIfThere(remembered, "list", settings.separator)) refuse("does not exist");
        } catch (const platform::FileError& error) {
            refuse("cannot be read: " + error.reason());
        }
        return remembered;
    }
    const std::string directory = absoluteFrom(currentDirectory, *options.drawingDirectory);
    if (!platform::dirExists(directory))
        throw UsageError("drawing directory '" + *options.drawingDirectory + "' does not exist");
    return directory;
}

std::optional<std::vector<std::string>> chooseDrawings(PlainWindowState& state, const Options& options, char separator,
                                                       std::istream& in, const std::string& currentDirectory,
                                                       const PathMap& map, std::vector<std::string>& warnings) {
    const std::string directory = state.drawingDirectory();
    switch (options.drawings) {
    case DrawingSource::Names:
    case DrawingSource::All:
        drawings::setDrawingListPath(state, directory);
        selectDrawings(state, options);
        return std::nullopt;
    case DrawingSource::Recursive: {
        drawings::DrawingTree tree = drawings::listDrawingTree(directory, separator);
        for (const platform::FileError& error : tree.unreadable)
            warnings.push_back(std::string(error.what()) + ": the script leaves out its drawings");
        return std::move(tree.paths);
    }
    case DrawingSource::List: break;
    }
    const std::string listName = listNameOf(options, currentDirectory);
    const std::string shownName = listName == "-" ? "standard input" : listName;
    drawings::PathHere pathHere;
    if (!map.empty()) pathHere = [&map](std::string_view line) { return map.pathHere(line); };
    try {
        const std::string bytes = listBytes(listName, shownName, in);
        return drawings::readDrawingList(bytes, shownName, directory, separator, pathHere);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    throw platform::FileError("read", shownName, "it is larger than the memory available to hold the list");
}

std::string whereNoDrawingsWereFound(const Options& options, const std::string& directory,
                                     const std::string& currentDirectory) {
    const std::string matching = std::string("no file matching ") + drawings::kDrawingPattern + " in " + directory;
    switch (options.drawings) {
    case DrawingSource::Names: return "no drawing was named: give names, --all, --recursive or --from-list";
    case DrawingSource::All: return matching;
    case DrawingSource::Recursive: return matching + " or its subfolders";
    case DrawingSource::List: break;
    }
    const std::string listName = listNameOf(options, currentDirectory);
    return listName == "-" ? "the list on standard input names no drawing"
                           : "the list " + listName + " names no drawing";
}

}  // namespace inkrun::cli
