#pragma once

#include <stdexcept>
#include <string>

#include "model/main_window_state.h"
#include "model/program_settings.h"
#include "model/user_dialogs.h"

namespace inkrun {

// The process-wide values for a program started in `currentDirectory`.
ProgramSettings startupSettings(const std::string& currentDirectory);

// The process-wide values for the process's current directory. When that directory has been
// removed, the settings directory names where it was ("." when the system cannot tell), so that
// every later write into it fails rather than landing in another directory. Never throws.
ProgramSettings settingsOfCurrentDirectory();

// The settings directory no longer exists: nothing can be remembered, loaded or saved there.
class SettingsDirectoryGone : public std::runtime_error {
public:
    explicit SettingsDirectoryGone(const std::string& directory);
};

// The start state: an empty setup, the remembered drawing directory (or the settings directory
// when none is remembered or it no longer exists) and the drawing list showing it. A remembered
// directory that cannot be read is reported by throwing after the fallback is in place, so the
// window never starts pointing nowhere. A settings directory that has gone is reported by
// throwing SettingsDirectoryGone, with the drawing directory pointing at where it was.
void restoreStartState(MainWindowState& state, const ProgramSettings& settings);

// Tells, in one box titled as the program's other messages, of the setups typed and never saved
// that were kept (in the settings directory, or the person's own data folder at a session's end)
// and that nobody has been told about, each by its path; from then on they count as told. Nothing
// when there are none.
void tellOfKeptSetups(const ProgramSettings& settings, UserDialogs& dialogs);

}  // namespace inkrun
