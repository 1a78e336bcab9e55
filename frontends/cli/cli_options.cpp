#include "frontends/cli/cli_options.h"

#include <array>

namespace inkrun::cli {

namespace {

using enum OptionId;
using Group = OptionGroup;

constexpr std::array kOptions{
    OptionSpec{Drawings, Group::Drawings, '\0', "", "DRAWING...",
               "names of drawings (.dwg) in the drawing directory; on Windows * and ? match names, without regard "
               "to case"},
    OptionSpec{All, Group::Drawings, '\0', "all", "", "every drawing in the drawing directory"},
    OptionSpec{Recursive, Group::Drawings, 'r', "recursive", "",
               "every drawing in the drawing directory and its subfolders: each folder's drawings in the list's "
               "order, then its subfolders in that order; hidden and system folders are skipped, and a folder "
               "reached twice through links is read once; --all beside it adds nothing"},
    OptionSpec{FromList, Group::Drawings, '\0', "from-list", "FILE",
               "the drawings FILE names, one a line ('-': standard input), as full paths or paths from the "
               "drawing directory, in the file's order; read in the code page (Windows-1252), or in UTF-8 when it "
               "starts with a byte-order mark; a line that names no drawing stops the build, and so does a list "
               "of more than 1,000,000 lines or 64 MiB"},
    OptionSpec{Settings, Group::Options, '\0', "settings", "DIR",
               "settings directory, holding DefaultFile.txt, Setup1.txt and Setup2.txt (default: the current "
               "directory)"},
    OptionSpec{Dir, Group::Options, '\0', "dir", "DIR",
               "drawing directory, where Inkrun.scr goes (default: the one DefaultFile.txt remembers, which must "
               "exist; without one, the settings directory)"},
    OptionSpec{Dsc, Group::Options, '\0', "dsc", "", "last drawing of the list first (default)"},
    OptionSpec{Asc, Group::Options, '\0', "asc", "", "first drawing of the list first"},
    OptionSpec{Locale, Group::Options, '\0', "locale", "NAME",
               "order the list as Windows does in the locale NAME, such as da-DK, sv-SE, es-ES_tradnl or "
               "de-DE_phoneb (default: en-US; on Windows the user's locale); an unknown NAME stops the build, "
               "listing the known ones"},
    OptionSpec{Slot, Group::Options, '\0', "slot", "1|2",
               "setup slot Setup1.txt or Setup2.txt in the settings directory (default: slot 1); a slot without "
               "its file stops the build"},
    OptionSpec{Setup, Group::Options, '\0', "setup", "FILE", "the setup in FILE"},
    OptionSpec{Template, Group::Options, '\0', "template", "",
               "the built-in template, an annotated example that plots, then closes and saves every drawing; "
               "never taken unless asked for"},
    OptionSpec{Map, Group::Options, '\0', "map", "FROM=TO",
               "write each drawing under the directory FROM with TO in its place, for workstations of another "
               "system: a TO such as J:\\jobs or \\\\server\\share gives backslashes, one such as /mnt/jobs "
               "slashes, and a bare drive (J:) is its root; repeatable, the longest FROM wins; a drawing under no "
               "FROM, or with a step Windows reads as something else (CON.dwg, a last dot or space), stops the "
               "build; a --from-list line under a TO is read under its FROM"},
    OptionSpec{Preamble, Group::Options, '\0', "preamble", "FILE",
               "the lines of FILE once before the first drawing, to switch settings for the run; read and checked "
               "as a setup file is, and in each script of --batch"},
    OptionSpec{Epilogue, Group::Options, '\0', "epilogue", "FILE",
               "the lines of FILE once after the last drawing, to switch them back; in each script of --batch"},
    OptionSpec{Expand, Group::Options, '\0', "expand", "",
               "take each drawing's values into the setup's lines: %DWGNAME% (its name without .dwg), %DWGFILE%, "
               "%DWGDIR% and %DWGPATH%, as the script writes its path, and %% for a percent sign; any other %NAME% "
               "stops the build, and the preamble and epilogue take only %%"},
    OptionSpec{StartAfter, Group::Options, '\0', "start-after", "DRAWING",
               "leave out the drawings the script would open up to DRAWING and DRAWING itself, to go on after a "
               "crash; DRAWING is a file name or a path as the script writes it, and one that names no drawing "
               "stops the build"},
    OptionSpec{Batch, Group::Options, '\0', "batch", "N",
               "scripts of at most N drawings each, at most 999: Inkrun.scr, then Inkrun_002.scr and on, each "
               "running alone with the preamble and epilogue, each but the last ending by starting the next; "
               "numbered scripts an earlier run left are removed"},
    OptionSpec{NoChain, Group::Options, '\0', "no-chain", "",
               "with --batch, end no script by starting the next: each is started by hand"},
    OptionSpec{Strict, Group::Options, '\0', "strict", "",
               "make every warning that can be known before the write (a drawing open elsewhere or read-only, a "
               "setup line ending in a space or holding a tab, a subfolder that cannot be read) stop the build"},
    OptionSpec{Output, Group::Options, 'o', "output", "FILE",
               "write the script to FILE instead of DIR/Inkrun.scr; '-' writes it to standard output"},
    OptionSpec{DryRun, Group::Options, 'n', "dry-run", "FORMAT",
               "print the setup's source, the script file and the drawings in the order the script opens them, "
               "as it writes them, and write nothing; the same checks, errors and exit status as the build. "
               "FORMAT blocks adds each script's lines as the CAD program receives them, spaces at a line's end "
               "and tabs marked; json prints a JSON document instead (fields: see the help page)",
               true},
    OptionSpec{Quiet, Group::Options, 'q', "quiet", "",
               "print nothing when the script is written, or with --dry-run would be (for cron: only failures "
               "make output)"},
    OptionSpec{PrintTemplate, Group::Options, '\0', "print-template", "",
               "write the built-in template to standard output"},
    OptionSpec{Help, Group::Options, 'h', "help", "", "show the help (on Windows also /?)"},
    OptionSpec{Version, Group::Options, 'V', "version", "", "show the version, the copyright and the licence"},
};

constexpr std::array kExitStatuses{
    ExitStatusSpec{kExitSuccess,
                   "the script is written (also when only the success message could not be printed, for example "
                   "with standard output closed or full: standard error says so); with --dry-run, it would be"},
    ExitStatusSpec{kExitBuildFailed,
                   "the build failed: the reason is on standard error, nothing is written and an old script is "
                   "left whole (for example no setup: no Setup1.txt and neither --setup nor --template; a line of "
                   "--from-list that names no drawing; a drawing under no --map FROM; a warning under --strict); or "
                   "the output of -o -, "
                   "--dry-run, --help, --version or --print-template could not be written"},
    ExitStatusSpec{kExitUsage,
                   "the command line is wrong: no arguments, an unknown or ambiguous option, a bad value such as "
                   "--slot 3, a directory (--settings, --dir, the one -o writes into, or the one DefaultFile.txt "
                   "remembers), setup file, list or drawing that does not exist, a pattern that matches no "
                   "drawing, or the drawings chosen twice (names, --all or --from-list together, or names or "
                   "--from-list beside --recursive)"},
    ExitStatusSpec{kExitWrittenWithWarning,
                   "the script is written, but a warning on standard error says what did not follow: an old "
                   "script under another letter case (INKRUN.SCR) could not be deleted, the system could not "
                   "confirm that the new file is safely on disk, or --recursive could not read a subfolder, "
                   "whose drawings are missing; or the run would trip: a drawing locked or read-only, a setup "
                   "line ending in a space or holding a tab (see --strict)"},
};

constexpr std::array kExamples{
    ExampleSpec{"cd ~/Inkrun && inkrun-build -q --all",
                "a nightly job (cron): slot 1 of ~/Inkrun, every drawing of the directory it remembers; only "
                "failures print"},
    ExampleSpec{"inkrun-build --setup plot-A1.txt --asc A-101.dwg A-103.dwg",
                "two drawings with a chosen setup, the first of the list first", ExampleSystem::Any},
    ExampleSpec{"inkrun-build --locale da-DK --dir /srv/jobs/aarhus --all",
                "a server building for a Danish office: the drawings in the order its Windows workstations "
                "list them (\u00C6, \u00D8 and \u00C5 after Z, aa as \u00E5)"},
    ExampleSpec{"inkrun-build --dir /srv/jobs/tower --recursive --dry-run",
                "every drawing of a project tree, shown in the order the script would open them; nothing is "
                "written"},
    ExampleSpec{"cd /d \"%PUBLIC%\\Documents\\Inkrun\" && inkrun-build -q --all",
                "slot 1 of the settings folder of an install for everyone (/AllUsers; for one user, /CurrentUser: "
                "Documents\\Inkrun), every drawing of the directory it remembers; only failures print. The "
                "installer's /ADDTOPATH puts inkrun-build on PATH",
                ExampleSystem::Windows},
    ExampleSpec{"\"%ProgramFiles%\\Inkrun Script Builder\\bin\\inkrun-build.exe\" --settings "
                "\"%PUBLIC%\\Documents\\Inkrun\" -q --all",
                "the same without PATH, where an install for everyone puts it (for one user: "
                "%LOCALAPPDATA%\\Programs\\Inkrun Script Builder\\bin)",
                ExampleSystem::Windows},
    ExampleSpec{"schtasks /Create /TN \"Inkrun nightly\" /SC DAILY /ST 02:00 /TR \"inkrun-build --settings "
                "\\\"%PUBLIC%\\Documents\\Inkrun\\\" -q --all\"",
                "the nightly job in Task Scheduler, as the user who makes it, with inkrun-build on PATH (else "
                "its full path, in \\\" quotes); a task starts in System32, so --settings names the settings folder",
                ExampleSystem::Windows},
    ExampleSpec{"inkrun-build --dir J:\\jobs\\tower --recursive --dry-run",
                "every drawing of a project tree, shown in the order the script would open them; nothing is "
                "written",
                ExampleSystem::Windows},
    ExampleSpec{"inkrun-build --all --preamble quiet.txt --epilogue restore.txt",
                "settings switched once for the run and back after the last drawing (quiet.txt holds the lines "
                "FILEDIA and 0, restore.txt FILEDIA and 1)",
                ExampleSystem::Any},
    ExampleSpec{"inkrun-build --all --expand --setup plot-pdf.txt",
                "each drawing plotted to a file named after it: plot-pdf.txt answers the file prompt with "
                "%DWGDIR%\\%DWGNAME%.pdf",
                ExampleSystem::Any},
    ExampleSpec{"inkrun-build --all --start-after A-143.dwg",
                "the run stopped at the drawing after A-143.dwg: a script for the drawings from there on",
                ExampleSystem::Any},
    ExampleSpec{"inkrun-build --all --batch 100 --strict",
                "scripts of 100 drawings each, Inkrun.scr starting Inkrun_002.scr and on; nothing is written "
                "when a drawing is open elsewhere or read-only",
                ExampleSystem::Any},
    ExampleSpec{
        "inkrun-build --all --batch 250 --no-chain",
        "scripts of 250 drawings that start no other, to run by hand, for example on several workstations at once",
        ExampleSystem::Any},
    ExampleSpec{"inkrun-build --all --dry-run=blocks | less",
                "every line the CAD program would receive, a space at a line's end shown as <SPACE>"},
    ExampleSpec{"inkrun-build --all --dry-run=json > job.json",
                "the dry run for a program: target, drawings, batches, warnings and the setup's source",
                ExampleSystem::Any},
};

// The examples --help shows here.
#ifdef _WIN32
constexpr ExampleSystem kThisSystem = ExampleSystem::Windows;
constexpr std::string_view kContinuation = " ^";  // cmd.exe's
#else
constexpr ExampleSystem kThisSystem = ExampleSystem::Linux;
constexpr std::string_view kContinuation = " \\";
#endif

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

// A command as lines a terminal holds, broken at blanks outside quotes (a quote after a backslash
// is part of the quoted text), each line but the last continued as the shell continues one.
std::string commandLines(std::string_view command) {
    std::string result;
    std::string line = "  ";
    bool quoted = false;
    std::size_t blank = std::string::npos;  // the last place the line may be broken
    for (const char c : command) {
        if (c == '"' && line.back() != '\\') quoted = !quoted;
        if (c == ' ' && !quoted) blank = line.size();
        line += c;
        if (line.size() + kContinuation.size() > kHelpWidth && blank != std::string::npos) {
            result += line.substr(0, blank) + std::string(kContinuation) + '\n';
            line = "    " + line.substr(blank + 1);
            blank = std::string::npos;
        }
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
std::span<const ExampleSpec> exampleTable() { return kExamples; }

bool shownOn(const ExampleSpec& example, ExampleSystem system) {
    return example.system == system || example.system == ExampleSystem::Any;
}

std::string optionSynopsis(const OptionSpec& option) {
    std::string result;
    if (option.shortName) {
        result = std::string("-") + option.shortName;
        if (!option.longName.empty()) result += ", ";
    }
    if (!option.longName.empty()) result += "--" + std::string(option.longName);
    if (option.valueOptional) return result + "[=" + std::string(option.argument) + "]";
    if (!option.argument.empty()) {
        if (!result.empty()) result += ' ';
        result += option.argument;
    }
    return result;
}

std::string shortUsageText() {
    return "Usage: inkrun-build [OPTION]... DRAWING...\n"
           "       inkrun-build [OPTION]... --all | --recursive | --from-list FILE\n"
           "Writes the CAD script Inkrun.scr for the drawings named, for all of them, for a\n"
           "whole tree or for a list.\n"
           "Try 'inkrun-build --help' for more information.\n";
}

std::string usageText() {
    std::string text =
        "Usage: inkrun-build [OPTION]... [DRAWING]...\n"
        "       inkrun-build [OPTION]... --all | --recursive | --from-list FILE\n"
        "Writes the CAD script Inkrun.scr for the given drawings: the same bytes as the\n"
        "Build command of the Inkrun Script Builder window. Every default is the state\n"
        "the window starts in, but for the setup: without one, nothing is written.\n"
        "\n"
        "Drawings:\n";
    text += helpGroup(OptionGroup::Drawings);
    text +=
        "  The script follows the drawing list: the order in which Windows lists names\n"
        "  (without regard to case, accented letters beside their base letter), in\n"
        "  en-US or the locale --locale names.\n"
        "\n"
        "Options:\n";
    text += helpGroup(OptionGroup::Options);
    text +=
        "\n"
        "Unlike the window, a DefaultFile.txt, Setup1.txt or Setup2.txt that is there\n"
        "but is not a readable ordinary file stops the build, and so does a\n"
        "DefaultFile.txt that names a directory that is gone or cannot be read.\n"
        "\n"
        "Exit status:\n";
    for (const ExitStatusSpec& exit : kExitStatuses)
        text += wrapped("  " + std::to_string(exit.status) + "  ", 5, exit.meaning);
    text += "\nExamples:\n";
    for (const ExampleSpec& example : kExamples)
        if (shownOn(example, kThisSystem)) text += commandLines(example.command) + wrapped("      ", 6, example.what);
    return text;
}

}  // namespace inkrun::cli
