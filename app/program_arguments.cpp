#include "app/program_arguments.h"

#include <string_view>

#include "inkrun_version.h"
#include "model/program_settings.h"
#include "platform/ansi_codec.h"

namespace inkrun {

namespace {

constexpr const char* kHelpText =
    "Usage: inkrun [--help | --version]\n"
    "\n"
    "Opens the Inkrun Script Builder window, which writes the CAD script Inkrun.scr\n"
    "for the drawings chosen in it. The folder it is started in is its settings\n"
    "directory: DefaultFile.txt, the setup slots Setup1.txt and Setup2.txt, and the\n"
    "help page readme.htm. A setup that was never saved is kept there in\n"
    "Setup.unsaved.txt when the window closes. Starting the window asks a copy that\n"
    "is already running to close.\n"
    "\n"
    "  -h, --help     show this help and end\n"
    "  -V, --version  show the version and end\n"
    "\n"
    "The window takes no other arguments. inkrun-build writes the same script from\n"
    "the command line.\n";

// The help laid out for a box: the lines of a paragraph joined, the option rows (indented, the
// meaning after a run of spaces) kept apart with a tab before the meaning, blank lines kept.
std::string forBox(std::string_view text) {
    std::string box;
    bool inParagraph = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.starts_with("  ")) {
            line.remove_prefix(line.find_first_not_of(' '));
            const std::size_t gap = line.find("  ");
            const std::size_t meaning = line.find_first_not_of(' ', gap);
            box.append(line.substr(0, gap)).append("\t").append(line.substr(meaning)).append("\n");
            inParagraph = false;
        } else if (line.empty()) {
            box.append(inParagraph ? "\n\n" : "\n");
            inParagraph = false;
        } else {
            box.append(inParagraph ? " " : "").append(line);
            inParagraph = true;
        }
    }
    if (inParagraph) box.append("\n");
    return box;
}

}  // namespace

std::string versionText(std::string_view program) {
    return std::string(program) + " (" + kMainWindowTitle + ") " + kVersionText + "\n" +  //
           "Copyright (C) " + kCopyrightYears + " " + kCopyrightHolder + "\n" +           //
           "Licence " + kLicenceName + ": <" + kLicenceUrl + ">\n" +
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

ProgramArguments readProgramArguments(const std::vector<std::string>& arguments, TextLayout layout) {
    using Action = ProgramArguments::Action;
    const auto isHelp = [](const std::string& argument) { return argument == "--help" || argument == "-h"; };
    const auto isVersion = [](const std::string& argument) { return argument == "--version" || argument == "-V"; };
    for (const std::string& argument : arguments) {
        if (isHelp(argument) || isVersion(argument)) continue;
        return {Action::Refuse,
                "inkrun: unknown argument '" + platform::escapeControls(argument) +
                    "'; the window was not started\nTry 'inkrun --help' for more information.\n",
                2};
    }
    if (arguments.empty()) return {};
    // As GNU programs do, the first of the two answers.
    if (isHelp(arguments.front()))
        return {Action::Answer, layout == TextLayout::Box ? forBox(kHelpText) : kHelpText, 0};
    return {Action::Answer, versionText("inkrun"), 0};
}

}  // namespace inkrun
