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
#include "setup/kept_setups.h"
#include "setup/setup_file.h"

namespace inkrun::setup {
namespace {

bool isTemplateMarker(const std::string& setupPath) { return setupPath == kDefaultScriptMarker; }

const std::string& slotFileName(const ProgramSettings& settings, int slot) {
    if (slot != 1 && slot != 2) throw std::invalid_argument("there is no setup slot " + std::to_string(slot));
    return settings.settingsFileNames[static_cast<std::size_t>(slot)];
}

// The dialog offers the current file's name whichever separator its path was written with.
std::string fileNamePart(const std::string& path) {
    const auto last = path.find_last_of("/\\");
    return last == std::string::npos ? path : path.substr(last + 1);
}

FileDialogOptions setupDialog(std::string initialDirectory, std::string fileName) {
    FileDialogOptions options;
    options.title = kSetupDialogTitle;
    options.filterName = kSetupFilterName;
    options.filterPattern = kSetupFilterPattern;
    options.initialDirectory = std::move(initialDirectory);
    options.fileName = std::move(fileName);
    return options;
}

// The commands' setup dialogs offer the settings directory among their places: the slots live
// there, wherever the dialog starts.
FileDialogOptions setupDialog(const ProgramSettings& settings, std::string initialDirectory, std::string fileName) {
    FileDialogOptions options = setupDialog(std::move(initialDirectory), std::move(fileName));
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

void loadSetupFile(MainWindowState& state, const std::string& path) {
    std::string text = readSetupFile(path);  // before touching the editor, so a failed read keeps the setup
    state.setSetupText(std::move(text));
    state.setSetupPath(path);
}

std::optional<SetupSlotFile> readSetupSlot(const ProgramSettings& settings, int slot, SettingsReader reader) {
    auto found = platform::readOrdinaryFileNamed(
        settings.scriptSettingsDirectory, slotFileName(settings, slot),
        reader == SettingsReader::Unattended ? platform::OtherEntries::Refused : platform::OtherEntries::CountAsMissing,
        settings.separator);
    if (!found) return std::nullopt;
    std::string text = setupTextOf(std::move(found->bytes), found->path);
    return SetupSlotFile{std::move(found->path), std::move(text)};
}

void loadSetupSlotText(MainWindowState& state, const ProgramSettings& settings, int slot, std::string text) {
    state.setSetupText(std::move(text));
    state.setSetupPath(settings.settingsPath(slotFileName(settings, slot)));
}

void loadSetupSlot(MainWindowState& state, const ProgramSettings& settings, int slot) {
    if (auto file = readSetupSlot(settings, slot)) loadSetupSlotText(state, settings, slot, std::move(file->text));
    else loadDefaultSetup(state);
}

std::optional<std::string> askSetupToOpen(const MainWindowState& state, const ProgramSettings& settings,
                                          UserDialogs& dialogs) {
    const std::string setupPath = state.setupPath();
    return dialogs.askOpenFile(
        setupDialog(settings, isTemplateMarker(setupPath) ? state.drawingDirectory() : setupPath, "*.txt"));
}

bool openSetupFile(MainWindowState& state, const ProgramSettings& settings, UserDialogs& dialogs) {
    const auto chosen = askSetupToOpen(state, settings, dialogs);
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

std::optional<std::string> saveSetupElsewhere(const std::string& text, const std::string& drawingDirectory,
                                              UserDialogs& dialogs) {
    // No settings directory among the places: it is where the setup could not be kept.
    FileDialogOptions options = setupDialog(drawingDirectory, kFirstKeptSetupName);
    options.confirmOverwrite = true;
    for (;;) {
        const auto chosen = dialogs.askSaveFile(options);
        if (!chosen) return std::nullopt;
        try {
            writeSetupFile(*chosen, text, UnencodableText::KeepAsUtf8);
            return chosen;
        } catch (const platform::WrittenWithWarning&) {
            return chosen;
        } catch (const std::exception& error) {
            dialogs.showMessage(error.what(), kApplicationTitle, MessageIcon::Critical);
        }
    }
}

}  // namespace inkrun::setup
