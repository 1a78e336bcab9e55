#pragma once

#include "model/main_window_state.h"
#include "model/program_settings.h"
#include "model/user_dialogs.h"

// The bodies the main window's handlers run. They are declared here, where the command layer
// runs them, and each is defined by the folder that owns its subject (script/, drawings/,
// setup/): those folders build on the command layer's interfaces, so the command layer cannot
// include them. Errors propagate to the handler's trap.

namespace inkrun::script {

// Build: checks the setup and the selection, writes the script into the drawing directory and
// reports where.
void buildInkrunScript(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings);

}  // namespace inkrun::script

namespace inkrun::drawings {

// Open Drawing Files: the person picks drawings in the open dialog; the drawing directory and
// the list follow the choice, the picked drawings are marked, and "DefaultFile.txt" remembers
// the directory. Picks from more than one folder are refused with a message. Returns false
// when the dialog was cancelled or the pick refused: then nothing has changed.
bool openDrawingFiles(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings);

}  // namespace inkrun::drawings

namespace inkrun::setup {

// Empties the setup and where it came from (Clear).
void clearSetup(MainWindowState& state);

// Puts the built-in template into the editor, marked "Default Script Loaded".
void loadDefaultSetup(MainWindowState& state);

// Loads "Setup1.txt" or "Setup2.txt" (slot 1 or 2) from the settings directory, found whatever
// its letter case; the built-in template when there is no such ordinary file.
void loadSetupSlot(MainWindowState& state, const ProgramSettings& settings, int slot);

// Lets the person pick a setup file and loads it. False when the dialog was cancelled.
bool openSetupFile(MainWindowState& state, UserDialogs& dialogs);

// Saves the setup, offering its current file; behaves as Save As while the template is loaded.
// False when nothing was written: an empty setup, or the dialog cancelled.
bool saveSetup(MainWindowState& state, UserDialogs& dialogs);

// Saves the setup under a name chosen in a dialog that starts in the drawing directory. False
// when the dialog was cancelled.
bool saveSetupAs(MainWindowState& state, UserDialogs& dialogs);

// Keeps a setup that was never saved in "Setup.unsaved.txt" in the settings directory, replacing
// an older one, in the setup file format. A text the code page cannot hold is kept whole as UTF-8
// behind a byte-order mark rather than lost. Throws platform::FileError when it cannot be written.
void keepUnsavedSetup(const ProgramSettings& settings, const std::string& text);

}  // namespace inkrun::setup
