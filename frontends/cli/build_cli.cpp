#include "frontends/cli/build_cli.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <unordered_set>
#include <utility>

#include "commands/command_frame.h"
#include "commands/plain_window_state.h"
#include "commands/startup.h"
#include "commands/user_dialogs.h"
#include "drawings/drawing_list_file.h"
#include "drawings/drawing_tree.h"
#include "frontends/cli/cli_paths.h"
#include "frontends/cli/command_line.h"
#include "frontends/cli/name_patterns.h"
#include "frontends/cli/path_map.h"
#include "frontends/cli/settings_files.h"
#include "inkrun_version.h"
#include "platform/ansi_codec.h"
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/folder.h"
#include "platform/utf8_path.h"
#include "script/build_command.h"
#include "script/script_builder.h"
#include "setup/default_template.h"
#include "setup/setup_commands.h"
#include "setup/setup_file.h"

namespace inkrun::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramName = "inkrun-build";

// Windows hands "*" and "?" to the program; other systems' shells have expanded them already.
constexpr bool kMatchesPatterns = platform::kPathSeparator == '\\';

using platform::pathOf;
using platform::textOf;

// The window's settings directory is the directory it was started in, as getcwd reports it:
// its links resolved, each under the link rule.
std::string settingsDirectoryFor(const std::string& currentDirectory, const std::string& given) {
    const auto folder = platform::Folder::openIfThere(absoluteFrom(currentDirectory, given), "read");
    if (!folder) throw UsageError("settings directory '" + given + "' does not exist");
    return folder->resolvedPath();
}

// A message as console lines. Names in messages come from the file system: their control
// characters are shown escaped, so a name can neither forge a log line nor steer the terminal.
// Only a success message has lines of its own (the window's lone CR between them).
std::string printable(const std::string& text, bool keepLines) {
    if (!keepLines) return platform::escapeControls(text);
    std::string result;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find_first_of("\r\n", start);
        result += platform::escapeControls(text.substr(start, end - start));
        if (end == std::string::npos) return result;
        result.push_back('\n');
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

// Messages go where a console user looks for them: success on stdout, the rest on stderr.
class ConsoleDialogs : public UserDialogs {
public:
    ConsoleDialogs(std::ostream& out, std::ostream& err, bool quiet) : out_(out), err_(err), quiet_(quiet) {}

    bool failed() const { return failed_; }

    void showMessage(const std::string& text, const std::string&, MessageIcon icon) override {
        if (icon == MessageIcon::None) {
            if (!quiet_) out_ << printable(text, true) << '\n';
        } else {
            failed_ = true;
            err_ << kProgramName << ": " << printable(text, false) << '\n';
        }
    }
    // Nobody is there to answer: every dialog counts as cancelled.
    std::optional<std::vector<std::string>> askOpenFiles(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<std::string> askOpenFile(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<std::string> askSaveFile(const FileDialogOptions&) override { return std::nullopt; }

private:
    std::ostream& out_;
    std::ostream& err_;
    bool quiet_;
    bool failed_ = false;
};

// The drawing directory: the one given, else the window's start, except that a DefaultFile.txt
// the window would pass over stops the build.
std::string drawingDirectoryFor(const ProgramSettings& settings, const Options& options,
                                const std::string& currentDirectory) {
    if (!options.drawingDirectory) {
        const std::string remembered = rememberedDirectoryForBuild(settings);
        return remembered.empty() || !platform::dirExists(remembered) ? settings.scriptSettingsDirectory : remembered;
    }
    const std::string directory = absoluteFrom(currentDirectory, *options.drawingDirectory);
    if (!platform::dirExists(directory))
        throw UsageError("drawing directory '" + *options.drawingDirectory + "' does not exist");
    return directory;
}

// The entries of the list a name given on the command line stands for: itself, or on Windows
// every name it matches, as Windows matches names.
std::vector<std::string> entriesNamed(const std::vector<std::string>& entries, const std::string& name) {
    std::vector<std::string> found;
    for (const std::string& entry : entries)
        if (kMatchesPatterns ? matchesPattern(name, entry) : entry == name) found.push_back(entry);
    return found;
}

// The list's marks as the person of the window would set them.
void selectDrawings(PlainWindowState& state, const Options& options) {
    if (options.drawings == DrawingSource::All) {
        state.selectAll();
        return;
    }
    if (options.names.empty()) return;  // the build reports "No files selected."
    const std::vector<std::string> entries = state.drawingListEntries();
    std::unordered_set<std::string> wanted;
    for (const std::string& name : options.names) {
        const std::vector<std::string> found = entriesNamed(entries, name);
        if (found.empty())
            throw UsageError("'" + name + "' " +
                             (kMatchesPatterns && hasWildcard(name) ? "matches no drawing" : "is not a drawing") +
                             " in " + state.drawingListPath());
        wanted.insert(found.begin(), found.end());
    }
    state.markDrawings(wanted);
}

// The list file's bytes: the file, or standard input for "-".
std::string listBytes(const std::string& listName, std::istream& in) {
    if (listName == "-") {
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (in.bad()) throw platform::FileError("read", "standard input", "read error");
        return bytes;
    }
    std::error_code error;
    if (!fs::exists(pathOf(listName), error)) throw UsageError("list file '" + listName + "' does not exist");
    return platform::readWholeFile(listName);
}

// The drawings of --recursive and --from-list, as full paths; a subfolder that cannot be read
// leaves a warning.
std::vector<std::string> drawingPaths(const Options& options, const std::string& directory, char separator,
                                      std::istream& in, const std::string& currentDirectory,
                                      std::vector<std::string>& warnings) {
    if (options.drawings == DrawingSource::Recursive) {
        drawings::DrawingTree tree = drawings::listDrawingTree(directory, separator);
        for (const platform::FileError& error : tree.unreadable)
            warnings.push_back(std::string(error.what()) + ": the script leaves out its drawings");
        return std::move(tree.paths);
    }
    const std::string listName = options.listFile == "-" ? "-" : absoluteFrom(currentDirectory, options.listFile);
    const std::string bytes = listBytes(listName, in);
    return drawings::readDrawingList(bytes, listName == "-" ? "standard input" : listName, directory, separator);
}

// A setup is held whole while a script is built: one larger than the memory
// available stops the build, naming it and its size. Nothing is written by then.
template <typename Step>
void namingTheSetup(const std::optional<std::string>& setupFile, const char* action, Step step) {
    const auto tooLarge = [&] {
        std::error_code error;
        const auto size = fs::file_size(pathOf(*setupFile), error);
        return platform::FileError(action, *setupFile,
                                   (error ? std::string("it is") : "at " + platform::describeSize(size) + " it is") +
                                       " larger than the memory available to build a script with it");
    };
    try {
        step();
    } catch (const std::bad_alloc&) {
        if (!setupFile) throw;
        throw tooLarge();
    } catch (const std::length_error&) {
        if (!setupFile) throw;
        throw tooLarge();
    }
}

// Where the setup came from: its file, if any, and how a dry run names it.
struct SetupOrigin {
    std::optional<std::string> file;
    std::string description;
};

// The window falls back to the template when slot 1 has no file; a job nobody watches must not,
// since played back the template plots, closes and saves every drawing.
std::runtime_error noSetup(const ProgramSettings& settings, const Options& options, const std::string& name) {
    return std::runtime_error("No setup: there is no " + name + " (setup slot " + std::to_string(options.slot) +
                              ") in the settings directory, " + settings.scriptSettingsDirectory + " (" +
                              (options.settingsDirectory ? "named by --settings" : "the current directory") +
                              "). Name a setup with --setup FILE or --slot N, or take the built-in template with "
                              "--template. Nothing was written.");
}

// Loads the setup the options choose.
SetupOrigin loadSetup(PlainWindowState& state, const ProgramSettings& settings, const Options& options,
                      const std::string& currentDirectory) {
    switch (options.setupSource) {
    case SetupSource::Slot: {
        // The window would take the template for a slot that is, say, a FIFO.
        const std::string& name = settings.settingsFileNames[static_cast<std::size_t>(options.slot)];
        requireOrdinaryIfPresent(settings, name);
        // The file under whatever letter case the slot's load reads it.
        const auto found = platform::findOrdinaryFile(settings.scriptSettingsDirectory, name, settings.separator);
        if (!found) throw noSetup(settings, options, name);
        namingTheSetup(found, "read", [&] { setup::loadSetupSlot(state, settings, options.slot); });
        return {found, "slot " + std::to_string(options.slot) + ", " + *found};
    }
    case SetupSource::Template: setup::loadDefaultSetup(state); return {std::nullopt, "the built-in template"};
    case SetupSource::File: {
        const std::string path = absoluteFrom(currentDirectory, options.setupFile);
        std::error_code error;
        if (!fs::exists(pathOf(path), error)) throw UsageError("setup file '" + options.setupFile + "' does not exist");
        namingTheSetup(path, "read", [&] { state.setSetupText(setup::readSetupFile(path)); });
        state.setSetupPath(path);
        return {path, path};
    }
    }
    return {};
}

// The job the choices describe, after the window's two refusals; drawings as full paths when they
// come from several folders or are mapped for another system.
std::optional<script::ScriptJob> jobFor(PlainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings,
                                        std::optional<std::vector<std::string>> paths, const PathMap& map) {
    std::optional<script::ScriptJob> job;
    if (!paths) {
        job = script::scriptJobFromWindow(state, dialogs, settings);
        if (!job || map.empty()) return job;
        for (std::string& name : job->drawings) name = platform::joinPath(job->directory, name, job->separator);
    } else {
        job.emplace();
        job->setupText = state.setupTextForBuild();
        job->drawings = std::move(*paths);
        if (!script::jobCanBeBuilt(*job, dialogs)) return std::nullopt;
        job->directory = state.drawingDirectory();
        job->descending = state.descendingOrder();
        job->separator = settings.separator;
    }
    job->fullPaths = true;
    if (!map.empty())
        for (std::string& path : job->drawings) path = map.map(path);
    return job;
}

// The path a drawing has in the script, for the dry run: the job's, without the code page.
std::string scriptPathOf(const script::ScriptJob& job, const std::string& drawing) {
    return job.fullPaths ? drawing : platform::joinPath(job.directory, drawing, job.separator);
}

// What the build would do, without doing it: the job's own checks, then its setup, target and
// drawings in the script's order.
void printDryRun(const script::ScriptJob& job, const SetupOrigin& setup, const std::string& target, std::ostream& out) {
    script::checkScriptJob(job);
    out << "Setup: " << setup.description << '\n'
        << "Script: " << target << '\n'
        << "Drawings, " << (job.descending ? "dsc" : "asc") << ", " << job.drawings.size()
        << " in the order the script opens them:\n";
    const auto print = [&](const std::string& drawing) { out << scriptPathOf(job, drawing) << '\n'; };
    if (job.descending) std::for_each(job.drawings.rbegin(), job.drawings.rend(), print);
    else std::for_each(job.drawings.begin(), job.drawings.end(), print);
}

void writeScriptTo(const std::string& output, script::ScriptJob job, UserDialogs& dialogs, std::ostream& out,
                   const std::string& currentDirectory) {
    if (output == "-") {
        // writeScript refuses a bad job before its first block, so a refusal writes nothing.
        errno = 0;
        script::writeScript(std::move(job), [&](std::string_view block) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        });
        out.flush();
        if (!out)
            throw platform::FileError("write", "standard output",
                                      errno ? platform::systemReason(errno) : "write error");
        return;  // a success line would land in the script
    }
    const std::string path = absoluteFrom(currentDirectory, output);
    platform::AtomicFileWriter writer(path, platform::StreamTarget::WriteInto);
    script::writeScript(std::move(job), writer);
    writer.commit();
    if (writer.descriptor() == 1) return;  // as with "-": a success line would land in the script
    std::size_t slash = path.size();
    while (slash > 0 && !isPathSeparator(path[slash - 1])) --slash;
    --slash;  // absoluteFrom gave a path with a separator
    // A root keeps its separator, as the current directory reports it ("/", "C:\\").
    const std::size_t root = textOf(pathOf(path).root_path()).size();
    const std::string directory = path.substr(0, std::max(slash, root > 0 ? root : slash));
    dialogs.showMessage(script::scriptSavedMessage(path.substr(slash + 1), directory), kApplicationTitle,
                        MessageIcon::None);
}

// Writes the job where the options say, or with --dry-run tells what would be written.
void deliver(script::ScriptJob job, const SetupOrigin& setup, const Options& options, const ProgramSettings& settings,
             UserDialogs& dialogs, std::ostream& out, const std::string& currentDirectory) {
    if (options.dryRun) {
        std::string target = "standard output";
        if (!options.output) target = platform::joinPath(job.directory, settings.scriptFileName, job.separator);
        else if (*options.output != "-") target = absoluteFrom(currentDirectory, *options.output);
        if (!options.quiet) printDryRun(job, setup, target, out);
        else script::checkScriptJob(job);
        return;
    }
    if (options.output) {
        writeScriptTo(*options.output, std::move(job), dialogs, out, currentDirectory);
        return;
    }
    const std::string directory = job.directory;
    script::saveScript(std::move(job), settings.scriptFileName);
    dialogs.showMessage(script::scriptSavedMessage(settings.scriptFileName, directory), kApplicationTitle,
                        MessageIcon::None);
}

int build(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
          const std::string& currentDirectory) {
    ConsoleDialogs dialogs(out, err, options.quiet);
    std::vector<std::string> warnings;
    try {
        const PathMap map(options.maps, currentDirectory);
        const ProgramSettings settings = startupSettings(
            options.settingsDirectory ? settingsDirectoryFor(currentDirectory, *options.settingsDirectory)
                                      : currentDirectory);
        PlainWindowState state(PlainWindowState::AtBuild::HandedOver);  // one build, then the end
        state.setDrawingDirectory(drawingDirectoryFor(settings, options, currentDirectory));
        std::optional<std::vector<std::string>> paths;
        if (options.drawings == DrawingSource::Names || options.drawings == DrawingSource::All) {
            state.setDrawingListPath(state.drawingDirectory());
            selectDrawings(state, options);
        } else {
            paths = drawingPaths(options, state.drawingDirectory(), settings.separator, in, currentDirectory, warnings);
        }
        const SetupOrigin setup = loadSetup(state, settings, options, currentDirectory);
        state.setDescendingOrder(options.descending);
        namingTheSetup(setup.file, "use", [&] {
            auto job = jobFor(state, dialogs, settings, std::move(paths), map);
            if (job) deliver(std::move(*job), setup, options, settings, dialogs, out, currentDirectory);
        });
    } catch (const UsageError&) {
        throw;
    } catch (const platform::WrittenWithWarning& warning) {
        warnings.push_back(warning.what());
    } catch (...) {
        checkCommandError(std::current_exception(), dialogs);
    }
    for (const std::string& warning : warnings)
        err << kProgramName << ": warning: " << printable(warning, false) << '\n';
    if (dialogs.failed()) return kExitBuildFailed;
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
        case Action::Version: out << kProgramName << ' ' << kVersionText << '\n'; return printed(out, err);
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
