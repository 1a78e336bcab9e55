#pragma once

#include "app/core/main_window_state.h"
#include "app/core/program_settings.h"
#include "app/core/user_dialogs.h"

namespace inkrun::drawings {

// Open Drawing Files: the person picks drawings in the open dialog; the drawing directory and
// the list follow the choice, the picked drawings are marked, and "DefaultFile.txt" remembers
// the directory. Returns false when the dialog was cancelled.
bool openDrawingFiles(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings);

}  // namespace inkrun::drawings
