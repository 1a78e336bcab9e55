#pragma once

#include "commands/main_window_state.h"
#include "commands/program_settings.h"
#include "commands/user_dialogs.h"

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

// Loads "Setup1.txt" or "Setup2.txt" (slot 1 or 2) from the settings directory, found whatever
// its letter case; the built-in template when there is no such ordinary file.
void loadSetupSlot(MainWindowState& state, const ProgramSettings& settings, int slot);

// Lets the person pick a setup file and loads it.
void openSetupFile(MainWindowState& state, UserDialogs& dialogs);

// Saves the setup, offering its current file; behaves as Save As while the template is loaded.
void saveSetup(MainWindowState& state, UserDialogs& dialogs);

// Saves the setup under a name chosen in a dialog that starts in the drawing directory.
void saveSetupAs(MainWindowState& state, UserDialogs& dialogs);

}  // namespace inkrun::setup
