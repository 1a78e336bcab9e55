#include "frontends/cli/build_cli.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <ostream>
#include <system_error>
#include <utility>

#include "app/command_frame.h"
#include "app/program_arguments.h"
#include "app/startup.h"
#include "frontends/cli/build_warnings.h"
#include "frontends/cli/cli_paths.h"
#include "frontends/cli/command_line.h"
#include "frontends/cli/console_dialogs.h"
#include "frontends/cli/drawing_choice.h"
#include "frontends/cli/locale_choice.h"
#include "frontends/cli/path_map.h"
#include "frontends/cli/script_delivery.h"
#include "frontends/cli/setup_choice.h"
#include "model/plain_window_state.h"
#include "platform/file_error.h"
#include "platform/file_lookup.h"
#include "platform/folder.h"
#include "platform/utf8_path.h"
#include "setup/default_template.h"

namespace inkrun::cli {

namespace {

// The window's settings directory is the directory it was started in, as getcwd reports it:
// its links resolved, each under the link rule.
std::string settingsDirectoryFor(const std::string& currentDirectory, const std::string& given) {
    const auto folder = platform::Folder::openIfThere(absoluteFrom(currentDirectory, given), "read");
    if (!folder) throw UsageError("settings directory '" + given + "' does not exist");
    return folder->resolvedPath();
}

// --strict: the warnings known before the write stop the build, which then writes nothing.
void refuseWarnings(std::vector<BuildWarning>& warnings, std::ostream& err) {
    for (const BuildWarning& warning : warnings)
        err << kProgramName << ": " << printable(warning.message, false) << '\n';
    warnings.clear();
    throw std::runtime_error("--strict stops the build at the warnings above. Nothing was written.");
}

int build(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
          const std::string& currentDirectory) {
    ConsoleDialogs dialogs(out, err, options.quiet);
    std::vector<BuildWarning> warnings;
    std::optional<PlannedJob> job;
    try {
        chooseLocale(options.locale);
        const PathMap map(options.maps, currentDirectory);
        const ProgramSettings settings = startupSettings(
            options.settingsDirectory ? settingsDirectoryFor(currentDirectory, *options.settingsDirectory)
                                      : currentDirectory);
        PlainWindowState state(PlainWindowState::AtBuild::HandedOver);  // one build, then the end
        state.setDrawingDirectory(drawingDirectoryFor(settings, options, currentDirectory));
        requireOutputDirectory(options, currentDirectory);
        const EarlyLook early = options.drawings == DrawingSource::All
                                    ? lookAtEveryDrawing(state.drawingDirectory(), settings.separator)
                                    : EarlyLook();
        std::vector<std::string> unreadable;
        std::optional<std::vector<std::string>> paths = chooseDrawings(state, options, settings.separator, in,
                                                                       currentDirectory, map, unreadable);
        for (std::string& warning : unreadable) warnings.push_back({"unreadable-folder", std::move(warning), {}, 0});
        dialogs.explainNoDrawings(whereNoDrawingsWereFound(options, state.drawingDirectory(), currentDirectory));
        BuildSources sources{loadSetup(state, settings, options, currentDirectory),
                             loadLinesFile(options.preamble, "--preamble", currentDirectory),
                             loadLinesFile(options.epilogue, "--epilogue", currentDirectory)};
        state.setDescendingOrder(options.descending);
        namingTheSetup(sources.setup.file, "use", [&] {
            job = jobFor(state, dialogs, settings, std::move(paths), map, options, sources, early);
            if (!job) return;
            const auto warningsKnown = [&] {
                addRunWarnings(*job, warnings);
                if (options.strict && !warnings.empty()) refuseWarnings(warnings, err);
            };
            deliver(*job, sources, options, settings, map, warnings, warningsKnown, dialogs, out, currentDirectory);
        });
    } catch (const UsageError&) {
        throw;
    } catch (const platform::WrittenWithWarning& warning) {
        warnings.push_back({"written", warning.what(), {}, 0});
    } catch (...) {
        checkCommandError(std::current_exception(), dialogs);
    }
    // A build that failed says why; what the run would have tripped over can wait for the next.
    if (dialogs.failed()) return kExitBuildFailed;
    if (job) addRunWarnings(*job, warnings);
    for (const BuildWarning& warning : warnings)
        err << kProgramName << ": warning: " << printable(warning.message, false) << '\n';
    // What is left to go is the success line or the dry run's report. The script itself is
    // written all the same: the status says so, and standard error says what was lost.
    errno = 0;
    out.flush();
    if (!out && (options.dryRun || options.output != "-")) {
        const int error = errno;
        const std::string reason = error ? platform::systemReason(error) : std::string("write error");
        if (options.dryRun) {
            err << kProgramName << ": could not write standard output: " << reason << '\n';
            return kExitBuildFailed;
        }
        err << kProgramName << ": the script is written, but its success message could not be printed: " << reason
            << '\n';
    }
    return warnings.empty() ? kExitSuccess : kExitWrittenWithWarning;
}

// --help, --version and --print-template have nothing to show but their output.
int printed(std::ostream& out, std::ostream& err) {
    errno = 0;
    out.flush();
    if (out) return kExitSuccess;
    const int error = errno;
    err << kProgramName
        << ": could not write standard output: " << (error ? platform::systemReason(error) : std::string("write error"))
        << '\n';
    return kExitBuildFailed;
}

}  // namespace

int runBuildCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
                const std::string& currentDirectory) {
    try {
        // Run bare, it is someone finding out what it does, not a build of nothing.
        if (args.empty()) {
            err << shortUsageText();
            return kExitUsage;
        }
        const Options options = parseArguments(args);
        switch (options.action) {
        case Action::Help: out << usageText(); return printed(out, err);
        case Action::Version: out << versionText(kProgramName); return printed(out, err);
        case Action::PrintTemplate: out << setup::defaultSetupTemplate(); return printed(out, err);
        case Action::Build: break;
        }
        return build(options, in, out, err, currentDirectory);
    } catch (const UsageError& e) {
        err << kProgramName << ": " << printable(e.what(), false) << "\nTry '" << kProgramName
            << " --help' for more information.\n";
        return kExitUsage;
    }
}

int runBuildCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const std::string& currentDirectory) {
    return runBuildCli(args, std::cin, out, err, currentDirectory);
}

}  // namespace inkrun::cli
