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

// The file of setup slot 1 or 2 ("Setup1.txt", "Setup2.txt") in the settings directory, found
// whatever its letter case; nullopt when there is no such ordinary file. Unattended, anything
// else standing under its name (a directory, a FIFO, a dangling link) throws FileError instead:
// the window would take the template for it.
std::optional<std::string> findSetupSlot(const ProgramSettings& settings, int slot,
                                         SettingsReader reader = SettingsReader::Window);

// Loads the file findSetupSlot found for a slot. Where the setup came from is the slot's own
// spelling, whatever the letter case of the file: Save then offers that name.
void loadSetupSlotFile(MainWindowState& state, const ProgramSettings& settings, int slot, const std::string& file);

// Load Script Setup 1 or 2: the slot's file, or the built-in template when there is none.
void loadSetupSlot(MainWindowState& state, const ProgramSettings& settings, int slot);

// The dialogs of the three commands below offer the settings directory among their places, where
// the setup slots are, wherever they start.

// Lets the person pick a setup file and loads it. False when the dialog was cancelled.
bool openSetupFile(MainWindowState& state, const ProgramSettings& settings, UserDialogs& dialogs);

// Saves the setup, offering its current file; behaves as Save As while the template is loaded.
// False when nothing was written: an empty setup, or the dialog cancelled.
bool saveSetup(MainWindowState& state, const ProgramSettings& settings, UserDialogs& dialogs);

// Saves the setup under a name chosen in a dialog that starts in the drawing directory. False
// when the dialog was cancelled.
bool saveSetupAs(MainWindowState& state, const ProgramSettings& settings, UserDialogs& dialogs);

// Keeps a setup that was never saved in "Setup.unsaved.txt" in the settings directory, replacing
// an older one, in the setup file format. A text the code page cannot hold is kept whole as UTF-8
// behind a byte-order mark rather than lost. Throws platform::FileError when it cannot be written.
void keepUnsavedSetup(const ProgramSettings& settings, const std::string& text);

}  // namespace inkrun::setup
