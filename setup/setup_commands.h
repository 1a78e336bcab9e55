#pragma once

#include <optional>
#include <string>

#include "model/main_window_state.h"
#include "model/program_settings.h"
#include "model/user_dialogs.h"

namespace inkrun::setup {

inline constexpr const char* kSetupDialogTitle = "Script Files";
inline constexpr const char* kSetupFilterName = "Text Files";
inline constexpr const char* kSetupFilterPattern = "*.txt";
inline constexpr const char* kNoDataMessage = "No data to save.";
inline constexpr const char* kNoDataTitle = "No Data";

// Empties the setup and where it came from (Clear).
void clearSetup(MainWindowState& state);

// Puts the built-in template into the editor, marked "Default Script Loaded".
void loadDefaultSetup(MainWindowState& state);

// Reads a setup file into the editor and shows it as where the setup came from. The file is read
// before anything changes, so a failed read keeps the person's setup.
void loadSetupFile(MainWindowState& state, const std::string& path);

// Setup slot 1 or 2 ("Setup1.txt", "Setup2.txt") in the settings directory, found whatever its
// letter case, and read: the file and its text. nullopt when there is no such ordinary file.
// Unattended, anything else standing under its name (a directory, a FIFO, a dangling link)
// throws FileError instead: the window would take the template for it.
struct SetupSlotFile {
    std::string path;
    std::string text;
};
std::optional<SetupSlotFile> readSetupSlot(const ProgramSettings& settings, int slot,
                                           SettingsReader reader = SettingsReader::Window);

// Puts a slot's text in the editor. Where the setup came from is the slot's own spelling,
// whatever the letter case of the file: Save then offers that name.
void loadSetupSlotText(MainWindowState& state, const ProgramSettings& settings, int slot, std::string text);

// Load Script Setup 1 or 2: the slot's file, or the built-in template when there is none.
void loadSetupSlot(MainWindowState& state, const ProgramSettings& settings, int slot);

// The dialogs of the four commands below offer the settings directory among their places, where
// the setup slots are, wherever they start.

// Lets the person pick a setup file: its path, or nullopt when the dialog was cancelled.
std::optional<std::string> askSetupToOpen(const MainWindowState& state, const ProgramSettings& settings,
                                          UserDialogs& dialogs);

// Lets the person pick a setup file and loads it. False when the dialog was cancelled.
bool openSetupFile(MainWindowState& state, const ProgramSettings& settings, UserDialogs& dialogs);

// Saves the setup, offering its current file; behaves as Save As while the template is loaded.
// False when nothing was written: an empty setup, or the dialog cancelled.
bool saveSetup(MainWindowState& state, const ProgramSettings& settings, UserDialogs& dialogs);

// Saves the setup under a name chosen in a dialog that starts in the drawing directory. False
// when the dialog was cancelled.
bool saveSetupAs(MainWindowState& state, const ProgramSettings& settings, UserDialogs& dialogs);

// Saves a setup that could not be kept where kept setups go under a name chosen in a dialog
// that starts in the drawing directory, asking again while a save fails (each failure shown). A
// text the code page cannot hold is saved as UTF-8 behind a byte-order mark rather than lost.
// Returns the path written, or nullopt when the person cancelled.
std::optional<std::string> saveSetupElsewhere(const std::string& text, const std::string& drawingDirectory,
                                              UserDialogs& dialogs);

}  // namespace inkrun::setup
