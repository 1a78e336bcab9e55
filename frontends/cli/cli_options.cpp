#include "frontends/cli/cli_options.h"

#include <array>

namespace inkrun::cli {

namespace {

using enum OptionId;
using Group = OptionGroup;

constexpr std::array kOptions{
    OptionSpec{Drawings, Group::Drawings, '\0', "", "DRAWING...", "names of drawings (.dwg) in the drawing directory"},
    OptionSpec{All, Group::Drawings, '\0', "all", "", "every drawing in the drawing directory"},
    OptionSpec{Settings, Group::Options, '\0', "settings", "DIR",
               "settings directory, holding DefaultFile.txt, Setup1.txt and Setup2.txt (default: the current "
               "directory)"},
    OptionSpec{Dir, Group::Options, '\0', "dir", "DIR",
               "drawing directory (default: the one DefaultFile.txt remembers, else the settings directory)"},
    OptionSpec{Dsc, Group::Options, '\0', "dsc", "", "last drawing of the list first (default)"},
    OptionSpec{Asc, Group::Options, '\0', "asc", "", "first drawing of the list first"},
    OptionSpec{Slot, Group::Options, '\0', "slot", "1|2",
               "setup slot Setup1.txt or Setup2.txt (default: slot 1, or the built-in template when the slot has "
               "no file)"},
    OptionSpec{Setup, Group::Options, '\0', "setup", "FILE", "the setup in FILE"},
    OptionSpec{Template, Group::Options, '\0', "template", "", "the built-in template"},
    OptionSpec{Output, Group::Options, 'o', "output", "FILE",
               "write the script to FILE instead of DIR/Inkrun.scr; '-' writes it to standard output"},
    OptionSpec{Quiet, Group::Options, 'q', "quiet", "",
               "print nothing when the script is written (for cron: only failures make output)"},
    OptionSpec{PrintTemplate, Group::Options, '\0', "print-template", "",
               "write the built-in template to standard output"},
    OptionSpec{Help, Group::Options, 'h', "help", "", "show the help"},
    OptionSpec{Version, Group::Options, 'V', "version", "", "show the version"},
};

constexpr std::array kExitStatuses{
    ExitStatusSpec{kExitSuccess,
                   "the script is written (also when only the success message could not be printed, for example "
                   "with standard output closed or full: standard error says so)"},
    ExitStatusSpec{kExitBuildFailed,
                   "the build failed: the reason is on standard error, nothing is written and an old script is "
                   "left whole; or the output of -o -, --help, --version or --print-template could not be "
                   "written"},
    ExitStatusSpec{kExitUsage,
                   "the command line is wrong: no arguments, an unknown option, a bad value such as --slot 3, a "
                   "directory, setup file or drawing that does not exist, or names together with --all"},
    ExitStatusSpec{kExitWrittenWithWarning,
                   "the script is written, but a warning on standard error says what did not follow: an old "
                   "script under another letter case (INKRUN.SCR) could not be deleted, or the system could not "
                   "confirm that the new file is safely on disk"},
};

constexpr std::size_t kHelpWidth = 79;
constexpr std::size_t kHelpTextColumn = 22;

// `text` wrapped at word boundaries into lines of at most kHelpWidth columns, the first one
// continuing `lead`, the others indented to `column`.
std::string wrapped(std::string lead, std::size_t column, std::string_view text) {
    std::string result;
    std::string line = std::move(lead);
    bool lineHasWord = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view word = text.substr(start, end - start);
        if (lineHasWord && line.size() + 1 + word.size() > kHelpWidth) {
            result += line + '\n';
            line.assign(column, ' ');
            lineHasWord = false;
        }
        if (lineHasWord) line += ' ';
        line += word;
        lineHasWord = true;
        start = end + 1;
    }
    return result + line + '\n';
}

std::string helpEntry(const OptionSpec& option) {
    // Long options line up whether or not a short one stands before them.
    std::string lead = option.shortName || option.longName.empty() ? "  " : "      ";
    lead += optionSynopsis(option);
    lead += lead.size() + 2 <= kHelpTextColumn ? std::string(kHelpTextColumn - lead.size(), ' ') : "  ";
    return wrapped(lead, kHelpTextColumn, option.help);
}

std::string helpGroup(OptionGroup group) {
    std::string result;
    for (const OptionSpec& option : kOptions)
        if (option.group == group) result += helpEntry(option);
    return result;
}

}  // namespace

std::span<const OptionSpec> optionTable() { return kOptions; }
std::span<const ExitStatusSpec> exitStatusTable() { return kExitStatuses; }

std::string optionSynopsis(const OptionSpec& option) {
    std::string result;
    if (option.shortName) {
        result = std::string("-") + option.shortName;
        if (!option.longName.empty()) result += ", ";
    }
    if (!option.longName.empty()) result += "--" + std::string(option.longName);
    if (!option.argument.empty()) {
        if (!result.empty()) result += ' ';
        result += option.argument;
    }
    return result;
}

std::string shortUsageText() {
    return "Usage: inkrun-build [OPTION]... DRAWING...\n"
           "       inkrun-build [OPTION]... --all\n"
           "Writes the CAD script Inkrun.scr for the drawings named, or for all of them.\n"
           "Try 'inkrun-build --help' for more information.\n";
}

std::string usageText() {
    std::string text =
        "Usage: inkrun-build [OPTION]... [DRAWING]...\n"
        "       inkrun-build [OPTION]... --all\n"
        "Writes the CAD script Inkrun.scr for the given drawings: the same bytes as the\n"
        "Build command of the Inkrun Script Builder window. Every default is the state\n"
        "the window starts in.\n"
        "\n"
        "Drawings:\n";
    text += helpGroup(OptionGroup::Drawings);
    text +=
        "  The script follows the drawing list: the order in which Windows lists names\n"
        "  (without regard to case, accented letters beside their base letter).\n"
        "\n"
        "Options:\n";
    text += helpGroup(OptionGroup::Options);
    text +=
        "\n"
        "Unlike the window, a DefaultFile.txt, Setup1.txt or Setup2.txt that is there\n"
        "but is not a readable ordinary file stops the build.\n"
        "\n"
        "Exit status:\n";
    for (const ExitStatusSpec& exit : kExitStatuses)
        text += wrapped("  " + std::to_string(exit.status) + "  ", 5, exit.meaning);
    return text;
}

}  // namespace inkrun::cli
