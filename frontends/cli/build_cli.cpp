#include "frontends/cli/build_cli.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <unordered_set>

#include "commands/command_frame.h"
#include "commands/plain_window_state.h"
#include "commands/startup.h"
#include "commands/user_dialogs.h"
#include "frontends/cli/settings_files.h"
#include "inkrun_version.h"
#include "platform/ansi_codec.h"
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "script/build_command.h"
#include "script/script_builder.h"
#include "setup/default_template.h"
#include "setup/setup_commands.h"
#include "setup/setup_file.h"

namespace inkrun::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramName = "inkrun-build";

// The command line itself is wrong: exit 2, with a pointer to --help.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Action { Build, Help, Version, PrintTemplate };
enum class SetupSource { Slot, File, Template };

struct Options {
    Action action = Action::Build;
    std::optional<std::string> settingsDirectory;
    std::optional<std::string> drawingDirectory;
    SetupSource setupSource = SetupSource::Slot;
    int slot = 1;
    std::string setupFile;
    bool descending = true;  // the window opens with "dsc"
    bool all = false;
    std::vector<std::string> names;
    std::optional<std::string> output;
    bool quiet = false;
};

Options parseArguments(const std::vector<std::string>& args) {
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
            options.names.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> attached;
        if (const auto equals = arg.find('='); arg.starts_with("--") && equals != std::string::npos) {
            name = arg.substr(0, equals);
            attached = arg.substr(equals + 1);
        }
        auto value = [&]() -> std::string {
            std::string given;
            if (attached) {
                given = *attached;
            } else {
                if (i + 1 >= args.size()) throw UsageError("option '" + name + "' needs a value");
                given = args[++i];
            }
            if (given.empty()) throw UsageError("option '" + name + "' needs a value");
            return given;
        };
        auto flag = [&] {
            if (attached) throw UsageError("option '" + name + "' takes no value");
        };

        if (name == "--settings") {
            options.settingsDirectory = value();
        } else if (name == "--dir") {
            options.drawingDirectory = value();
        } else if (name == "--asc" || name == "--dsc") {
            flag();
            options.descending = name == "--dsc";
        } else if (name == "--slot") {
            const std::string slot = value();
            if (slot != "1" && slot != "2") throw UsageError("option '--slot' takes 1 or 2, not '" + slot + "'");
            options.setupSource = SetupSource::Slot;
            options.slot = slot == "1" ? 1 : 2;
        } else if (name == "--setup") {
            options.setupSource = SetupSource::File;
            options.setupFile = value();
        } else if (name == "--template") {
            flag();
            options.setupSource = SetupSource::Template;
        } else if (name == "--all") {
            flag();
            options.all = true;
        } else if (name == "--output" || name == "-o") {
            options.output = value();
        } else if (name == "--print-template") {
            flag();
            options.action = Action::PrintTemplate;
        } else if (name == "--quiet" || name == "-q") {
            flag();
            options.quiet = true;
        } else if (name == "--help" || name == "-h") {
            flag();
            options.action = Action::Help;
        } else if (name == "--version" || name == "-V") {
            flag();
            options.action = Action::Version;
        } else {
            throw UsageError("unknown option '" + name + "'");
        }
    }
    if (options.all && !options.names.empty())
        throw UsageError("give drawing names or --all, not both");
    return options;
}

// Relative paths start in the given current directory; the result has no trailing separator
// except at the root, like the paths the window is given.
// Paths are UTF-8 text; a narrow std::filesystem path would use the ANSI code page on Windows.
fs::path pathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }
std::string textOf(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool isSeparator(char c) { return c == '/' || c == platform::kPathSeparator; }

std::string absoluteFrom(const std::string& currentDirectory, const std::string& path) {
    fs::path result = pathOf(path);
    if (result.is_relative()) result = pathOf(currentDirectory) / result;
    result = result.lexically_normal();
    std::string text = textOf(result);
    const std::size_t root = textOf(result.root_path()).size();
    while (text.size() > std::max<std::size_t>(root, 1) && isSeparator(text.back())) text.pop_back();
    return text;
}

// The window's settings directory is the directory it was started in, as getcwd reports it.
std::string settingsDirectoryFor(const std::string& currentDirectory, const std::string& given) {
    const std::string path = absoluteFrom(currentDirectory, given);
    std::error_code error;
    const fs::path resolved = fs::canonical(pathOf(path), error);
    if (error || !platform::dirExists(textOf(resolved)))
        throw UsageError("settings directory '" + given + "' does not exist");
    return textOf(resolved);
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

// The drawing directory and list as the window has them once its person has chosen.
void chooseDrawingDirectory(PlainWindowState& state, const ProgramSettings& settings, const Options& options,
                            const std::string& currentDirectory) {
    if (!options.drawingDirectory) {
        // The window's start, except that a DefaultFile.txt it would pass over stops the build.
        std::string directory = rememberedDirectoryForBuild(settings);
        if (directory.empty() || !platform::dirExists(directory)) directory = settings.scriptSettingsDirectory;
        state.setDrawingDirectory(directory);
        state.setDrawingListPath(directory);
        return;
    }
    const std::string directory = absoluteFrom(currentDirectory, *options.drawingDirectory);
    if (!platform::dirExists(directory))
        throw UsageError("drawing directory '" + *options.drawingDirectory + "' does not exist");
    state.setDrawingDirectory(directory);
    state.setDrawingListPath(directory);
}

void selectDrawings(PlainWindowState& state, const Options& options) {
    if (options.all) {
        state.selectAll();
        return;
    }
    if (options.names.empty()) return;  // the build reports "No files selected."
    const std::unordered_set<std::string> wanted(options.names.begin(), options.names.end());
    std::unordered_set<std::string> found;
    for (const std::string& entry : state.drawingListEntries())
        if (wanted.count(entry)) found.insert(entry);
    for (const std::string& name : options.names)
        if (!found.count(name))
            throw UsageError("'" + name + "' is not a drawing in " + state.drawingListPath());
    state.markDrawings(wanted);
}

// A setup is read whole: one larger than the memory available stops the build, naming it.
template <typename Load>
void loadWithin(const std::string& path, Load load) {
    try {
        load();
    } catch (const std::bad_alloc&) {
        throw platform::FileError("read", path, "it is larger than the memory available");
    } catch (const std::length_error&) {
        throw platform::FileError("read", path, "it is larger than the memory available");
    }
}

void loadSetup(PlainWindowState& state, const ProgramSettings& settings, const Options& options,
               const std::string& currentDirectory) {
    switch (options.setupSource) {
    case SetupSource::Slot: {
        // The window would take the template for a slot that is, say, a FIFO: the template
        // closes and saves every drawing, which nobody asked of this job.
        const std::string& name = settings.settingsFileNames[static_cast<std::size_t>(options.slot)];
        requireOrdinaryIfPresent(settings, name);
        loadWithin(settings.settingsPath(name), [&] { setup::loadSetupSlot(state, settings, options.slot); });
        break;
    }
    case SetupSource::Template:
        setup::loadDefaultSetup(state);
        break;
    case SetupSource::File: {
        const std::string path = absoluteFrom(currentDirectory, options.setupFile);
        std::error_code error;
        if (!fs::exists(pathOf(path), error)) throw UsageError("setup file '" + options.setupFile + "' does not exist");
        loadWithin(path, [&] {
            std::string text = setup::readSetupFile(path);
            state.setSetupText(text);
        });
        state.setSetupPath(path);
        break;
    }
    }
}

void writeScriptTo(const std::string& output, const MainWindowState& state, UserDialogs& dialogs,
                   const ProgramSettings& settings, std::ostream& out, const std::string& currentDirectory) {
    const auto job = script::scriptJobFromWindow(state, dialogs, settings);
    if (!job) return;
    if (output == "-") {
        // writeScript refuses a bad job before its first block, so a refusal writes nothing.
        errno = 0;
        script::writeScript(*job, [&](std::string_view block) {
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
    script::writeScript(*job, [&](std::string_view block) { writer.write(block); });
    writer.commit();
    std::size_t slash = path.size();
    while (slash > 0 && !isSeparator(path[slash - 1])) --slash;
    --slash;  // absoluteFrom gave a path with a separator
    // A root keeps its separator, as the current directory reports it ("/", "C:\\").
    const std::size_t root = textOf(pathOf(path).root_path()).size();
    const std::string directory = path.substr(0, std::max(slash, root > 0 ? root : slash));
    dialogs.showMessage(script::scriptSavedMessage(path.substr(slash + 1), directory), kApplicationTitle,
                        MessageIcon::None);
}

int build(const Options& options, std::ostream& out, std::ostream& err, const std::string& currentDirectory) {
    ConsoleDialogs dialogs(out, err, options.quiet);
    try {
        const ProgramSettings settings = startupSettings(
            options.settingsDirectory ? settingsDirectoryFor(currentDirectory, *options.settingsDirectory)
                                      : currentDirectory);
        PlainWindowState state;
        chooseDrawingDirectory(state, settings, options, currentDirectory);
        selectDrawings(state, options);
        loadSetup(state, settings, options, currentDirectory);
        state.setDescendingOrder(options.descending);
        if (options.output)
            writeScriptTo(*options.output, state, dialogs, settings, out, currentDirectory);
        else
            script::buildInkrunScript(state, dialogs, settings);
    } catch (const UsageError&) {
        throw;
    } catch (const platform::WrittenWithWarning& warning) {
        err << kProgramName << ": warning: " << printable(warning.what(), false) << '\n';
        return kExitWrittenWithWarning;
    } catch (...) {
        checkCommandError(std::current_exception(), dialogs);
    }
    if (dialogs.failed()) return kExitBuildFailed;
    // Only the success line is left to go. When it cannot, the script is written all the same:
    // the status says so, and standard error says what was lost.
    errno = 0;
    out.flush();
    if (!out && options.output != "-") {
        const int error = errno;
        err << kProgramName << ": the script is written, but its success message could not be printed: "
            << (error ? platform::systemReason(error) : std::string("write error")) << '\n';
    }
    return kExitSuccess;
}

// --help, --version and --print-template have nothing to show but their output.
int printed(std::ostream& out, std::ostream& err) {
    errno = 0;
    out.flush();
    if (out) return kExitSuccess;
    const int error = errno;
    err << kProgramName << ": could not write standard output: "
        << (error ? platform::systemReason(error) : std::string("write error")) << '\n';
    return kExitBuildFailed;
}

}  // namespace

std::string shortUsageText() {
    return R"(Usage: inkrun-build [OPTION]... DRAWING...
       inkrun-build [OPTION]... --all
Writes the CAD script Inkrun.scr for the drawings named, or for all of them.
Try 'inkrun-build --help' for more information.
)";
}

std::string usageText() {
    return R"(Usage: inkrun-build [OPTION]... [DRAWING]...
       inkrun-build [OPTION]... --all
Writes the CAD script Inkrun.scr for the given drawings: the same bytes as the
Build command of the Inkrun Script Builder window. Every default is the state
the window starts in.

Drawings:
  DRAWING...          names of drawings (.dwg) in the drawing directory
      --all           every drawing in the drawing directory
  The script follows the drawing list, sorted by name without regard to case.

Options:
      --settings DIR  settings directory, holding DefaultFile.txt, Setup1.txt
                      and Setup2.txt (default: the current directory)
      --dir DIR       drawing directory (default: the one DefaultFile.txt
                      remembers, else the settings directory)
      --dsc           last drawing of the list first (default)
      --asc           first drawing of the list first
      --slot 1|2      setup slot Setup1.txt or Setup2.txt (default: slot 1,
                      or the built-in template when the slot has no file)
      --setup FILE    the setup in FILE
      --template      the built-in template
  -o, --output FILE   write the script to FILE instead of DIR/Inkrun.scr;
                      '-' writes it to standard output
  -q, --quiet         print nothing when the script is written (for cron)
      --print-template  write the built-in template to standard output
  -h, --help          show this help
  -V, --version       show the version

Unlike the window, a DefaultFile.txt, Setup1.txt or Setup2.txt that is there
but is not a readable ordinary file stops the build.

Exit status: 0 the script is written (also when only the success message
could not be printed; standard error says so); 1 the build failed (the reason
on standard error, nothing written); 2 the command line is wrong.
)";
}

int runBuildCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const std::string& currentDirectory) {
    try {
        // Run bare, it is someone finding out what it does, not a build of nothing.
        if (args.empty()) {
            err << shortUsageText();
            return kExitUsage;
        }
        const Options options = parseArguments(args);
        switch (options.action) {
        case Action::Help:
            out << usageText();
            return printed(out, err);
        case Action::Version:
            out << kProgramName << ' ' << kVersionText << '\n';
            return printed(out, err);
        case Action::PrintTemplate:
            out << setup::defaultSetupTemplate();
            return printed(out, err);
        case Action::Build:
            break;
        }
        return build(options, out, err, currentDirectory);
    } catch (const UsageError& e) {
        err << kProgramName << ": " << printable(e.what(), false) << "\nTry '" << kProgramName
            << " --help' for more information.\n";
        return kExitUsage;
    }
}

}  // namespace inkrun::cli
