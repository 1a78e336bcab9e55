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
#include "platform/link_rule.h"
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

// The table's entry that an argument names, by its long or its short name.
const OptionSpec* findOption(const std::string& name) {
    for (const OptionSpec& option : optionTable()) {
        if (!option.longName.empty() && name == "--" + std::string(option.longName)) return &option;
        if (option.shortName && name == std::string{'-', option.shortName}) return &option;
    }
    return nullptr;
}

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
        const OptionSpec* option = findOption(name);
        if (!option) throw UsageError("unknown option '" + name + "'");
        std::string value;
        if (!option->argument.empty()) {
            if (attached) {
                value = *attached;
            } else {
                if (i + 1 >= args.size()) throw UsageError("option '" + name + "' needs a value");
                value = args[++i];
            }
            if (value.empty()) throw UsageError("option '" + name + "' needs a value");
        } else if (attached) {
            throw UsageError("option '" + name + "' takes no value");
        }

        switch (option->id) {
        case OptionId::Settings: options.settingsDirectory = value; break;
        case OptionId::Dir: options.drawingDirectory = value; break;
        case OptionId::Asc:
        case OptionId::Dsc: options.descending = option->id == OptionId::Dsc; break;
        case OptionId::Slot:
            if (value != "1" && value != "2") throw UsageError("option '--slot' takes 1 or 2, not '" + value + "'");
            options.setupSource = SetupSource::Slot;
            options.slot = value == "1" ? 1 : 2;
            break;
        case OptionId::Setup:
            options.setupSource = SetupSource::File;
            options.setupFile = value;
            break;
        case OptionId::Template: options.setupSource = SetupSource::Template; break;
        case OptionId::All: options.all = true; break;
        case OptionId::Output: options.output = value; break;
        case OptionId::PrintTemplate: options.action = Action::PrintTemplate; break;
        case OptionId::Quiet: options.quiet = true; break;
        case OptionId::Help: options.action = Action::Help; break;
        case OptionId::Version: options.action = Action::Version; break;
        case OptionId::Drawings:  // has no name to be found by
            break;
        }
    }
    if (options.all && !options.names.empty()) throw UsageError("give drawing names or --all, not both");
    return options;
}

// Relative paths start in the given current directory; the result has no trailing separator
// except at the root, like the paths the window is given.
using platform::pathOf;
using platform::textOf;

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
    // Checked before its links are resolved away: the settings are read through them.
    platform::requireTrustedLinks(path, "read", platform::PathEnd::Directory);
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

// A setup is held whole, and more than once while a script is built: one larger than the memory
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

// Loads the setup the options choose; returns the file it came from, if any.
std::optional<std::string> loadSetup(PlainWindowState& state, const ProgramSettings& settings, const Options& options,
                                     const std::string& currentDirectory) {
    switch (options.setupSource) {
    case SetupSource::Slot: {
        // The window would take the template for a slot that is, say, a FIFO: the template
        // closes and saves every drawing, which nobody asked of this job.
        const std::string& name = settings.settingsFileNames[static_cast<std::size_t>(options.slot)];
        requireOrdinaryIfPresent(settings, name);
        // The file under whatever letter case the slot's load reads it.
        const auto found = platform::findOrdinaryFile(settings.scriptSettingsDirectory, name, settings.separator);
        namingTheSetup(found, "read", [&] { setup::loadSetupSlot(state, settings, options.slot); });
        return found;
    }
    case SetupSource::Template:
        setup::loadDefaultSetup(state);
        return std::nullopt;
    case SetupSource::File: {
        const std::string path = absoluteFrom(currentDirectory, options.setupFile);
        std::error_code error;
        if (!fs::exists(pathOf(path), error)) throw UsageError("setup file '" + options.setupFile + "' does not exist");
        namingTheSetup(path, "read", [&] { state.setSetupText(setup::readSetupFile(path)); });
        state.setSetupPath(path);
        return path;
    }
    }
    return std::nullopt;
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
    if (platform::openDescriptorNamed(path) == 1) return;  // as with "-": a success line would land in the script
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
        const std::optional<std::string> setupFile = loadSetup(state, settings, options, currentDirectory);
        state.setDescendingOrder(options.descending);
        namingTheSetup(setupFile, "use", [&] {
            if (options.output)
                writeScriptTo(*options.output, state, dialogs, settings, out, currentDirectory);
            else
                script::buildInkrunScript(state, dialogs, settings);
        });
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
