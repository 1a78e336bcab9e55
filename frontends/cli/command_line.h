#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace inkrun::cli {

// The command line itself is wrong: exit 2, with a pointer to --help.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Action { Build, Help, Version, PrintTemplate };
enum class SetupSource { Slot, File, Template };
enum class DrawingSource {
    Names,      // the names given, from the drawing directory's list
    All,        // every drawing of the drawing directory
    Recursive,  // every drawing of the drawing directory and its subfolders
    List,       // the drawings a list file names
};

// What a dry run prints: the report, the report and every script line, or a JSON document.
enum class DryRunFormat { Report, Blocks, Json };

// What a command line asks for, as given: paths are not yet made absolute.
struct Options {
    Action action = Action::Build;
    std::optional<std::string> settingsDirectory;
    std::optional<std::string> drawingDirectory;
    SetupSource setupSource = SetupSource::Slot;
    int slot = 1;
    std::string setupFile;
    bool descending = true;  // the window opens with "dsc"
    std::string locale;      // whose order the list follows; empty: the default
    DrawingSource drawings = DrawingSource::Names;
    std::vector<std::string> names;
    std::string listFile;           // with DrawingSource::List; "-" for standard input
    std::vector<std::string> maps;  // each --map's FROM=TO
    std::optional<std::string> preamble;
    std::optional<std::string> epilogue;
    bool expand = false;
    std::optional<std::string> startAfter;
    std::size_t batch = 0;  // drawings a script at most; 0: one script
    bool chain = true;
    bool strict = false;
    std::optional<std::string> output;
    bool dryRun = false;
    DryRunFormat dryRunFormat = DryRunFormat::Report;
    bool quiet = false;
};

// Reads the arguments (without the program name) the GNU way: options and names in any order,
// short options bundled ("-qn", "-oFILE"), "--name=value", a long option shortened to a beginning
// no other shares ("--out=-"), and "--" ending the options. On
// Windows "/?" asks for the help, as every Windows program takes it. Throws UsageError.
Options parseArguments(const std::vector<std::string>& args);

}  // namespace inkrun::cli
