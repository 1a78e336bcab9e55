#pragma once

#include <cstddef>
#include <functional>
#include <future>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "drawings/drawing_hazards.h"
#include "frontends/cli/build_warnings.h"
#include "frontends/cli/command_line.h"
#include "frontends/cli/path_map.h"
#include "frontends/cli/setup_choice.h"
#include "model/main_window_state.h"
#include "model/program_settings.h"
#include "model/user_dialogs.h"
#include "script/script_builder.h"

// The script a command line asks for: the job, and where it goes.

namespace inkrun::cli {

// The drawings of the drawing directory looked at from the start, for --all, which takes them all:
// the look then runs beside the reading and sorting of the list as well as the write.
using EarlyLook = std::shared_future<std::vector<drawings::DrawingHazard>>;
EarlyLook lookAtEveryDrawing(const std::string& directory, char separator);

// Where the texts of a build came from.
struct BuildSources {
    SetupOrigin setup;
    std::optional<LinesFile> preamble;
    std::optional<LinesFile> epilogue;
};

// A job as the command line shapes it.
struct PlannedJob {
    script::ScriptJob job;
    std::size_t leftOut = 0;  // drawings --start-after left out
    std::string startAfter;   // the drawing it names, as the script writes it
    // What the run would trip over: the drawings, looked at while the script is written (with
    // 100,000 drawings that takes as long as the write), and the lines.
    std::future<std::vector<BuildWarning>> drawingWarnings;
    std::vector<BuildWarning> lineWarnings;
};

// Waits for the drawings' warnings and adds them to `warnings`, then the lines'.
void addRunWarnings(PlannedJob& planned, std::vector<BuildWarning>& warnings);

// The job the state describes, after the window's two refusals (no setup, no drawing), with
// `paths` in place of the list's selection when given, the preamble and epilogue, and the drawings
// up to --start-after left out. The drawings are full paths when they come from several folders or
// are mapped for another system. The drawings are looked at while the script is written, or
// `early` placed among them. Throws UsageError when --start-after names none of the drawings, or
// more than one.
std::optional<PlannedJob> jobFor(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings,
                                 std::optional<std::vector<std::string>> paths, const PathMap& map,
                                 const Options& options, const BuildSources& sources, const EarlyLook& early);

// Throws UsageError when the folder that -o names for the script is missing, as a missing --dir.
void requireOutputDirectory(const Options& options, const std::string& currentDirectory);

// Writes the job where the options say (its drawing directory, a file, or "-" the standard
// output), in batches with --batch, or with --dry-run tells what would be written. The job is
// taken over. `warningsKnown` gathers the run's warnings into `warnings` and may throw to write
// nothing: it runs before a dry run prints, and with --strict before anything is put in place.
void deliver(PlannedJob& planned, const BuildSources& sources, const Options& options, const ProgramSettings& settings,
             const PathMap& map, const std::vector<BuildWarning>& warnings, const std::function<void()>& warningsKnown,
             UserDialogs& dialogs, std::ostream& out, const std::string& currentDirectory);

}  // namespace inkrun::cli
