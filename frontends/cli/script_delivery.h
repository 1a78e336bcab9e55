#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "frontends/cli/command_line.h"
#include "frontends/cli/path_map.h"
#include "frontends/cli/setup_choice.h"
#include "model/main_window_state.h"
#include "model/program_settings.h"
#include "model/user_dialogs.h"
#include "script/script_builder.h"

// The script a command line asks for: the job, and where it goes.

namespace inkrun::cli {

// The job the state describes, after the window's two refusals (no setup, no drawing), with
// `paths` in place of the list's selection when given. The drawings are full paths when they come
// from several folders or are mapped for another system.
std::optional<script::ScriptJob> jobFor(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings,
                                        std::optional<std::vector<std::string>> paths, const PathMap& map);

// Throws UsageError when the folder that -o names for the script is missing, as a missing --dir.
void requireOutputDirectory(const Options& options, const std::string& currentDirectory);

// Writes the job where the options say (its drawing directory, a file, or "-" the standard
// output), or with --dry-run tells what would be written.
void deliver(script::ScriptJob job, const SetupOrigin& setup, const Options& options, const ProgramSettings& settings,
             UserDialogs& dialogs, std::ostream& out, const std::string& currentDirectory);

}  // namespace inkrun::cli
