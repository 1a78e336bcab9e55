#include "drawings/drawing_selection.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "drawings/drawing_list.h"
#include "drawings/remembered_directory.h"
#include "platform/file_lookup.h"

namespace inkrun::drawings {

namespace {

// After the person confirmed the dialog, a step that fails is skipped without a word and the
// command goes on: a list that cannot show the directory must not cost the remembered directory.
template <typename Step>
void skipOnFailure(Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (...) {
    }
}

bool isAbsolute(const std::string& path, char separator) {
    if (!path.empty() && platform::isPathSeparator(path.front(), separator)) return true;
    // "C:\..." on Windows.
    return separator == '\\' && path.size() > 2 && path[1] == ':' && platform::isPathSeparator(path[2], separator);
}

// A several-file answer is a directory and names in it. A dialog may also give a picked file as
// a path (typed "sub/S.dwg", or a full path from another folder): such a file is meant where
// the path leads, so it counts only when it leads into the one folder all picks share.
// Returns that folder and the names, or nullopt when the picks lie in more than one folder.
struct SeveralPicks {
    std::string directory;
    std::unordered_set<std::string> names;
};

std::optional<SeveralPicks> picksInOneFolder(const std::vector<std::string>& parts, char separator,
                                             std::vector<std::string>& folders) {
    const std::string& base = parts.front();
    SeveralPicks picks;
    std::optional<std::string> shared;
    for (std::size_t j = 1; j < parts.size(); ++j) {
        const std::string& part = parts[j];
        std::size_t last = std::string::npos;
        for (std::size_t k = 0; k < part.size(); ++k)
            if (platform::isPathSeparator(part[k], separator)) last = k;
        std::string folder = base;
        if (last != std::string::npos) {
            const std::string lead = part.substr(0, last);
            if (isAbsolute(part, separator)) folder = last == 0 ? part.substr(0, 1) : lead;
            else if (!base.empty() && platform::isPathSeparator(base.back(), separator)) folder = base + lead;
            else folder = base + separator + lead;
        }
        if (!shared) {
            shared = folder;
        } else if (*shared != folder) {
            if (std::find(folders.begin(), folders.end(), *shared) == folders.end()) folders.push_back(*shared);
            if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
        }
        picks.names.insert(part.substr(last == std::string::npos ? 0 : last + 1));
    }
    if (!folders.empty()) return std::nullopt;
    // A folder that came from a path is the directory; the answer's own stays exactly as given.
    picks.directory = shared ? *shared : base;
    return picks;
}

std::string picksInSeveralFoldersMessage(const std::vector<std::string>& folders) {
    std::string text = "The drawings picked lie in more than one folder (";
    for (std::size_t i = 0; i < folders.size(); ++i) text += (i ? ", " : "") + folders[i];
    return text + "). A script covers the drawings of one folder: pick them in one folder. Nothing was changed.";
}

}  // namespace

bool openDrawingFiles(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings) {
    FileDialogOptions options;
    options.title = "Drawing Files";
    options.filterName = "DWG Drawing Files (*.dwg)";
    options.filterPattern = kDrawingPattern;
    options.initialDirectory = state.drawingDirectory();
    options.fileName = "";
    options.allowMultiple = true;

    // A failing dialog propagates: that is the command trap's to report.
    std::optional<std::vector<std::string>> answer = dialogs.askOpenFiles(options);
    if (!answer || answer->empty()) return false;
    const std::vector<std::string>& parts = *answer;

    std::optional<std::string> directory;
    std::unordered_set<std::string> picked;
    if (parts.size() == 1) {
        const std::string& path = parts.front();
        const std::size_t separator = path.rfind(settings.separator);
        if (separator == std::string::npos) {
            // Not a full path: there is no directory to take, only a name in the one shown.
            picked.insert(path);
        } else {
            // A root loses its separator here ("C:\a.dwg" gives "C:"), as a directory is held.
            directory = path.substr(0, separator);
            picked.insert(path.substr(separator + 1));
        }
    } else {
        std::vector<std::string> folders;
        auto picks = picksInOneFolder(parts, settings.separator, folders);
        if (!picks) {
            // Taking one folder for all would mark files that were not picked.
            dialogs.showMessage(picksInSeveralFoldersMessage(folders), kApplicationTitle, MessageIcon::Exclamation);
            return false;
        }
        directory = std::move(picks->directory);
        picked = std::move(picks->names);
    }

    if (directory) {
        skipOnFailure([&] { state.setDrawingDirectory(*directory); });
        // Re-reads the directory even when the list already shows it, so earlier marks go and
        // the marks left are exactly this pick. When it fails the list is left empty.
        skipOnFailure([&] { setDrawingListPath(state, *directory); });
    }
    // One walk over the list whatever the number of picked names.
    skipOnFailure([&] { state.markDrawings(picked); });
    // A directory the code page cannot hold is not remembered: the old file stays whole rather
    // than naming some other directory.
    skipOnFailure([&] { rememberDrawingDirectory(settings, state.drawingDirectory()); });
    return true;
}

}  // namespace inkrun::drawings
