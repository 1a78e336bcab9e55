#include "drawings/drawing_selection.h"

#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/ansi_codec.h"
#include "platform/file_io.h"

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

}  // namespace

bool openDrawingFiles(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings) {
    FileDialogOptions options;
    options.title = "Drawing Files";
    options.filterName = "DWG Drawing Files";
    options.filterPattern = "*.dwg";
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
        directory = parts.front();
        picked.insert(parts.begin() + 1, parts.end());
    }

    if (directory) {
        skipOnFailure([&] { state.setDrawingDirectory(*directory); });
        // Re-reads the directory even when the list already shows it, so earlier marks go and
        // the marks left are exactly this pick. When it fails the list is left empty.
        skipOnFailure([&] { state.setDrawingListPath(*directory); });
    }
    // One walk over the list whatever the number of picked names.
    skipOnFailure([&] { state.markDrawings(picked); });
    // A directory the code page cannot hold is not remembered: the old file stays whole rather
    // than naming some other directory.
    skipOnFailure([&] {
        platform::writeFileAtomically(settings.defaultFilePath(),
                                      platform::encodeAnsi(state.drawingDirectory()));
    });
    return true;
}

}  // namespace inkrun::drawings
