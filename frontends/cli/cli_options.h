#pragma once

#include <span>
#include <string>
#include <string_view>

namespace inkrun::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitBuildFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitWrittenWithWarning = 3;  // the script is written, but see the warning

// What an entry of the command line stands for; the parser acts on it.
enum class OptionId {
    Drawings,  // the drawing names themselves, not an option
    All,
    Recursive,
    FromList,
    Settings,
    Dir,
    Dsc,
    Asc,
    Locale,
    Slot,
    Setup,
    Template,
    Map,
    Preamble,
    Epilogue,
    Expand,
    StartAfter,
    Batch,
    NoChain,
    Strict,
    Output,
    DryRun,
    Quiet,
    PrintTemplate,
    Help,
    Version,
};

// Where --help lists an entry.
enum class OptionGroup { Drawings, Options };

// One entry of inkrun-build's command line. The parser, --help, the manual page and the README's
// option list are all made from the table of these: an option is added there and nowhere else.
struct OptionSpec {
    OptionId id;
    OptionGroup group;
    char shortName;              // '\0' when there is none
    std::string_view longName;   // without its dashes; empty for the drawing names
    std::string_view argument;   // the value's placeholder ("DIR"); empty for a flag
    std::string_view help;       // what it does, in lower case and without a final full stop
    bool valueOptional = false;  // the value only after '=' ("--dry-run=json"), never apart
};

struct ExitStatusSpec {
    int status;
    std::string_view meaning;
};

// Where an example's command runs: a Linux shell, a Windows Command Prompt, or either.
enum class ExampleSystem { Linux, Windows, Any };

// A command shown in --help (on Windows its Windows examples, elsewhere its Linux ones), the
// manual page (the Linux ones) and the option lists of the README and the help page (all).
struct ExampleSpec {
    std::string_view command;
    std::string_view what;
    ExampleSystem system = ExampleSystem::Linux;
};

std::span<const OptionSpec> optionTable();
std::span<const ExitStatusSpec> exitStatusTable();
std::span<const ExampleSpec> exampleTable();
// Whether the example runs on `system` as written.
bool shownOn(const ExampleSpec& example, ExampleSystem system);

// The entry as a person types it: "-o, --output FILE", "--all", "DRAWING...".
std::string optionSynopsis(const OptionSpec& option);

// The --help text, and the few lines shown on standard error when run without arguments.
std::string usageText();
std::string shortUsageText();

}  // namespace inkrun::cli
