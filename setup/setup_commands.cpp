#include "setup/setup_commands.h"

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/file_error.h"
#include "platform/file_lookup.h"
#include "platform/ordinary_file_check.h"
#include "setup/default_template.h"
#include "setup/setup_file.h"

namespace inkrun::setup {
namespace {

bool isTemplateMarker(const std::string& setupPath) { return setupPath == kDefaultScriptMarker; }

// Read before touching the editor, so a failed read keeps the person's setup.
void loadShownAs(MainWindowState& state, const std::string& file, const std::string& shownPath) {
    std::string text = readSetupFile(file);
    state.setSetupText(std::move(text));
    state.setSetupPath(shownPath);
}

const std::string& slotFileName(const ProgramSettings& settings, int slot) {
    if (slot != 1 && slot != 2) throw std::invalid_argument("there is no setup slot " + std::to_string(slot));
    return settings.settingsFileNames[static_cast<std::size_t>(slot)];
}

// The dialog offers the current file's name whichever separator its path was written with.
std::string fileNamePart(const std::string& path) {
    const auto last = path.find_last_of("/\\");
    return last == std::string::npos ? path : path.substr(last + 1);
}

// Every setup dialog offers the settings directory among its places: the slots live there,
// wherever the dialog starts.
FileDialogOptions setupDialog(const ProgramSettings& settings, std::string initialDirectory, std::string fileName) {
    FileDialogOptions options;
    options.title = kSetupDialogTitle;
    options.filterName = kSetupFilterName;
    options.filterPattern = kSetupFilterPattern;
    options.initialDirectory = std::move(initialDirectory);
    options.fileName = std::move(fileName);
    options.places = {settings.scriptSettingsDirectory};
    return options;
}

// Saving back to the file the setup came from writes the file it was read from. A slot is found
// whatever its letter case, so after a load of SETUP1.TXT, SetupPath says Setup1.txt; writing
// that name on a case-sensitive disk would leave the stale SETUP1.TXT beside the new file.
std::string fileToSaveInto(const std::string& chosen, const std::string& setupPath) {
    if (chosen != setupPath) return chosen;
    const auto slash = chosen.rfind(platform::kPathSeparator);
    if (slash == std::string::npos) return chosen;
    const std::string directory = slash == 0 ? chosen.substr(0, 1) : chosen.substr(0, slash);
    const auto found = platform::findOrdinaryFile(directory, chosen.substr(slash + 1));
    if (!found) return chosen;
    return chosen.substr(0, slash + 1) + found->substr(found->rfind(platform::kPathSeparator) + 1);
}

}  // namespace

void clearSetup(MainWindowState& state) {
    state.setSetupText("");
    state.setSetupPath("");
}

void loadDefaultSetup(MainWindowState& state) {
    clearSetup(state);
    state.setSetupPath(kDefaultScriptMarker);
    state.setSetupText(defaultSetupTemplate());
}

void loadSetupFile(MainWindowState& state, const std::string& path) { loadShownAs(state, path, path); }

std::optional<std::string> findSetupSlot(const ProgramSettings& settings, int slot, SettingsReader reader) {
    const std::string& name = slotFileName(settings, slot);
    const std::string& directory = settings.scriptSettingsDirectory;
    auto found = platform::findOrdinaryFile(directory, name, settings.separator);
    if (!found && reader == SettingsReader::Unattended)
        platform::requireOrdinaryIfPresent(directory, name, settings.separator);
    return found;
}

void loadSetupSlotFile(MainWindowState& state, const ProgramSettings& settings, int slot, const std::string& file) {
    loadShownAs(state, file, settings.settingsPath(slotFileName(settings, slot)));
}

void loadSetupSlot(MainWindowState& state, const ProgramSettings& settings, int slot) {
    if (const auto file = findSetupSlot(settings, slot)) loadSetupSlotFile(state, settings, slot, *file);
    else loadDefaultSetup(state);
}

bool openSetupFile(MainWindowState& state, const ProgramSettings& settings, UserDialogs& dialogs) {
    const std::string setupPath = state.setupPath();
    const auto chosen = dialogs.askOpenFile(
        setupDialog(settings, isTemplateMarker(setupPath) ? state.drawingDirectory() : setupPath, "*.txt"));
    if (!chosen) return false;
    loadSetupFile(state, *chosen);
    return true;
}

bool saveSetup(MainWindowState& state, const ProgramSettings& settings, UserDialogs& dialogs) {
    const std::string text = state.setupText();
    if (text.empty()) {
        dialogs.showMessage(kNoDataMessage, kNoDataTitle, MessageIcon::Exclamation);
        return false;
    }
    const std::string setupPath = state.setupPath();
    if (isTemplateMarker(setupPath)) return saveSetupAs(state, settings, dialogs);
    FileDialogOptions options = setupDialog(settings, setupPath, fileNamePart(setupPath));
    options.title.clear();  // Save shows no title of its own
    options.confirmOverwrite = true;
    const auto chosen = dialogs.askSaveFile(options);
    if (!chosen) return false;
    writeSetupFile(fileToSaveInto(*chosen, setupPath), text);
    return true;
}

bool saveSetupAs(MainWindowState& state, const ProgramSettings& settings, UserDialogs& dialogs) {
    FileDialogOptions options = setupDialog(settings, state.drawingDirectory(), "*.txt");
    options.confirmOverwrite = true;
    const auto chosen = dialogs.askSaveFile(options);
    if (!chosen) return false;
    try {
        writeSetupFile(*chosen, state.setupText());
    } catch (const platform::WrittenWithWarning&) {
        state.setSetupPath(*chosen);  // the file is written, whatever the warning says
        throw;
    }
    state.setSetupPath(*chosen);
    return true;
}

void keepUnsavedSetup(const ProgramSettings& settings, const std::string& text) {
    writeSetupFile(settings.settingsPath(settings.unsavedSetupFileName), text, UnencodableText::KeepAsUtf8);
}

}  // namespace inkrun::setup
