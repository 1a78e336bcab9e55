#pragma once

#include "model/main_window_state.h"
#include "model/program_settings.h"
#include "model/user_dialogs.h"

namespace inkrun::drawings {

// Open Drawing Files: the person picks drawings in the open dialog; the drawing directory and
// the list follow the choice, the picked drawings are marked, and "DefaultFile.txt" remembers
// the directory. Picks from more than one folder are refused with a message. Returns false
// when the dialog was cancelled or the pick refused: then nothing has changed.
bool openDrawingFiles(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings);

}  // namespace inkrun::drawings
