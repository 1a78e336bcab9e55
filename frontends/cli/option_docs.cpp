#include "frontends/cli/option_docs.h"

#include <cctype>
#include <stdexcept>
#include <string_view>

#include "frontends/cli/cli_options.h"

namespace inkrun::cli {

namespace {

bool isWordCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// One line of roff text: a hyphen is a minus sign (options, '-') unless it joins two words
// ("built-in"), and a line must not start as a request.
std::string roff(std::string_view text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            result += "\\e";
        } else if (c == '-' &&
                   !(i > 0 && i + 1 < text.size() && isWordCharacter(text[i - 1]) && isWordCharacter(text[i + 1]))) {
            result += "\\-";
        } else {
            result += c;
        }
    }
    if (!result.empty() && (result.front() == '.' || result.front() == '\'')) result.insert(0, "\\&");
    return result;
}

std::string manOptions() {
    std::string section = ".SH OPTIONS\n";
    for (const OptionSpec& option : optionTable()) {
        if (option.longName.empty()) continue;  // the drawing names: see the synopsis
        std::string tag;
        if (option.shortName) tag = "\\fB" + roff(std::string{'-', option.shortName}) + "\\fR";
        if (option.shortName && !option.argument.empty()) tag += " \\fI" + roff(option.argument) + "\\fR";
        if (option.shortName) tag += ", ";
        tag += "\\fB" + roff("--" + std::string(option.longName)) + "\\fR";
        if (!option.argument.empty()) tag += " \\fI" + roff(option.argument) + "\\fR";
        section += ".TP\n" + tag + "\n" + roff(option.help) + "\n";
    }
    return section;
}

std::string manExitStatus() {
    std::string section = ".SH EXIT STATUS\n";
    for (const ExitStatusSpec& exit : exitStatusTable())
        section += ".TP\n.B " + std::to_string(exit.status) + "\n" + roff(exit.meaning) + "\n";
    return section;
}

std::string replaceLine(const std::string& text, const std::string& line, const std::string& replacement) {
    const std::string marked = line + "\n";
    const std::size_t at = text.find(marked);
    if (at == std::string::npos || (at > 0 && text[at - 1] != '\n'))
        throw std::runtime_error("the line '" + line + "' is missing");
    return text.substr(0, at) + replacement + text.substr(at + marked.size());
}

// A table cell: a bar would end it.
std::string cell(std::string_view text) {
    std::string result;
    for (const char c : text) {
        if (c == '|') result += '\\';
        result += c;
    }
    return result;
}

}  // namespace

std::string manPageWithOptions(const std::string& page) {
    return replaceLine(replaceLine(page, ".\\\" options", manOptions()), ".\\\" exit status", manExitStatus());
}

std::string markdownOptionList() {
    std::string text = "| Option | What it does |\n|---|---|\n";
    for (const OptionSpec& option : optionTable()) {
        std::string synopsis;
        if (option.shortName) synopsis = "`-" + std::string{option.shortName} + "`, ";
        std::string name = option.longName.empty() ? "" : "--" + std::string(option.longName);
        if (!option.argument.empty()) name += (name.empty() ? "" : " ") + std::string(option.argument);
        synopsis += "`" + cell(name) + "`";
        text += "| " + synopsis + " | " + cell(option.help) + " |\n";
    }
    text += "\n| Exit status | Meaning |\n|---|---|\n";
    for (const ExitStatusSpec& exit : exitStatusTable())
        text += "| `" + std::to_string(exit.status) + "` | " + cell(exit.meaning) + " |\n";
    return text;
}

std::string documentWithOptionList(const std::string& document) {
    const std::string begin = std::string(kMarkdownBegin) + "\n";
    const std::string end = std::string(kMarkdownEnd) + "\n";
    const std::size_t first = document.find(begin);
    const std::size_t last = first == std::string::npos ? first : document.find(end, first);
    if (last == std::string::npos)
        throw std::runtime_error(std::string("the lines '") + kMarkdownBegin + "' and '" + kMarkdownEnd +
                                 "' are missing");
    return document.substr(0, first + begin.size()) + markdownOptionList() + document.substr(last);
}

}  // namespace inkrun::cli
