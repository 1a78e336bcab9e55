#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/main_window_state.h"
#include "model/program_settings.h"
#include "model/user_dialogs.h"
#include "script/script_builder.h"

namespace inkrun::script {

inline constexpr const char* kNoSetupMessage = "Cannot build! No script present";
inline constexpr const char* kNoSetupTitle = "No Information";
inline constexpr const char* kNoDrawingsMessage = "No files selected.";
inline constexpr const char* kNoDrawingsTitle = "No Files";

// The two lines that report a written script; the lone CR between them is the program's own.
std::string scriptSavedMessage(const std::string& scriptFileName, const std::string& directory);

// The Build command's checks, in its order: the setup must not be empty, then there must be a
// drawing. Each failure shows its warning and gives false.
bool jobCanBeBuilt(const ScriptJob& job, UserDialogs& dialogs);

// The job the window's state describes, once it passes jobCanBeBuilt, with the setup and the
// drawings as the state gives them for a build. `fullPaths`, when given, are the drawings in place
// of those selected in the list (inkrun-build's --recursive and --from-list).
std::optional<ScriptJob> scriptJobFromWindow(MainWindowState& state, UserDialogs& dialogs,
                                             const ProgramSettings& settings,
                                             std::optional<std::vector<std::string>> fullPaths = std::nullopt);

// Writes the job's script into its directory (saveScript) and reports where, as Build does.
void saveScriptAndReport(ScriptJob job, const ProgramSettings& settings, UserDialogs& dialogs);

// Build: checks the setup and the selection, writes the script into the drawing directory and
// reports where.
void buildInkrunScript(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings);

}  // namespace inkrun::script
