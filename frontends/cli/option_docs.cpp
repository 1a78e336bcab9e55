#include "frontends/cli/option_docs.h"

#include <cctype>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "frontends/cli/cli_options.h"
#include "platform/name_order.h"

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
        const bool apart = !option.argument.empty() && !option.valueOptional;
        if (option.shortName) tag = "\\fB" + roff(std::string{'-', option.shortName}) + "\\fR";
        if (option.shortName && apart) tag += " \\fI" + roff(option.argument) + "\\fR";
        if (option.shortName) tag += ", ";
        tag += "\\fB" + roff("--" + std::string(option.longName)) + "\\fR";
        if (apart) tag += " \\fI" + roff(option.argument) + "\\fR";
        if (option.valueOptional) tag += "[=\\fI" + roff(option.argument) + "\\fR]";
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

std::string manExamples() {
    std::string text;
    for (const ExampleSpec& example : exampleTable())
        if (shownOn(example, ExampleSystem::Linux))
            text += ".TP\n\\fB" + roff(example.command) + "\\fR\n" + roff(example.what) + "\n";
    return text;
}

std::string replaceLine(const std::string& text, const std::string& line, const std::string& replacement) {
    const std::string marked = line + "\n";
    const std::size_t at = text.find(marked);
    if (at == std::string::npos || (at > 0 && text[at - 1] != '\n'))
        throw std::runtime_error("the line '" + line + "' is missing");
    return text.substr(0, at) + replacement + text.substr(at + marked.size());
}

// A Markdown table cell: a bar would end it.
std::string cell(std::string_view text) {
    std::string result;
    for (const char c : text) {
        if (c == '|') result += '\\';
        result += c;
    }
    return result;
}

std::string html(std::string_view text) {
    std::string result;
    for (const char c : text) {
        switch (c) {
        case '&': result += "&amp;"; break;
        case '<': result += "&lt;"; break;
        case '>': result += "&gt;"; break;
        default: result += c;
        }
    }
    return result;
}

// The option as a person types it, each of its names as code: `-o`, `--output FILE`.
std::string synopsis(const OptionSpec& option, const char* open, const char* close,
                     std::string (*escape)(std::string_view)) {
    std::string text;
    if (option.shortName) text = open + escape(std::string{'-', option.shortName}) + close + ", ";
    std::string name = option.longName.empty() ? "" : "--" + std::string(option.longName);
    if (option.valueOptional) name += "[=" + std::string(option.argument) + "]";
    else if (!option.argument.empty()) name += (name.empty() ? "" : " ") + std::string(option.argument);
    return text + open + escape(name) + close;
}

// Markdown text in a cell: a backslash would escape what follows it.
std::string markdownText(std::string_view text) {
    std::string doubled;
    for (const char c : text) {
        if (c == '\\') doubled += '\\';
        doubled += c;
    }
    return cell(doubled);
}

// The examples in two tables: those for a Linux shell or any system, then the Windows ones.
constexpr std::pair<std::string_view, bool> kExampleTables[]{{"Example", false},
                                                             {"Example in a Windows Command Prompt", true}};

std::string markdownTables() {
    std::string text = "| Option | What it does |\n|---|---|\n";
    for (const OptionSpec& option : optionTable())
        text += "| " + synopsis(option, "`", "`", cell) + " | " + markdownText(option.help) + " |\n";
    text += "\n| Exit status | Meaning |\n|---|---|\n";
    for (const ExitStatusSpec& exit : exitStatusTable())
        text += "| `" + std::to_string(exit.status) + "` | " + markdownText(exit.meaning) + " |\n";
    for (const auto& [heading, windows] : kExampleTables) {
        text += "\n| " + std::string(heading) + " | What it does |\n|---|---|\n";
        for (const ExampleSpec& example : exampleTable())
            if ((example.system == ExampleSystem::Windows) == windows)
                text += "| `" + cell(example.command) + "` | " + markdownText(example.what) + " |\n";
    }
    return text;
}

std::string htmlTables() {
    std::string text = "<table>\n  <tr><th>Option</th><th>What it does</th></tr>\n";
    for (const OptionSpec& option : optionTable())
        text += "  <tr><td>" + synopsis(option, "<code>", "</code>", html) + "</td><td>" + html(option.help) +
                "</td></tr>\n";
    text += "</table>\n<table>\n  <tr><th>Exit status</th><th>Meaning</th></tr>\n";
    for (const ExitStatusSpec& exit : exitStatusTable())
        text += "  <tr><td>" + std::to_string(exit.status) + "</td><td>" + html(exit.meaning) + "</td></tr>\n";
    for (const auto& [heading, windows] : kExampleTables) {
        text += "</table>\n<table>\n  <tr><th>" + std::string(heading) + "</th><th>What it does</th></tr>\n";
        for (const ExampleSpec& example : exampleTable())
            if ((example.system == ExampleSystem::Windows) == windows)
                text += "  <tr><td><code>" + html(example.command) + "</code></td><td>" + html(example.what) +
                        "</td></tr>\n";
    }
    return text + "</table>\n";
}

// Words for a shell variable, every name of every option.
std::string shellWords(bool valuesOnly) {
    std::string words;
    for (const OptionSpec& option : optionTable()) {
        if (option.longName.empty() || (valuesOnly && (option.argument.empty() || option.valueOptional))) continue;
        if (option.shortName) words += std::string{' ', '-', option.shortName};
        words += " --" + std::string(option.longName);
    }
    return words.substr(1);
}

}  // namespace

std::string manPageWithOptions(const std::string& page) {
    const std::string filled = replaceLine(page, ".\\\" options", manOptions());
    return replaceLine(replaceLine(filled, ".\\\" exit status", manExitStatus()), ".\\\" examples", manExamples());
}

std::string optionList(DocumentFormat format) {
    return format == DocumentFormat::Markdown ? markdownTables() : htmlTables();
}

std::string documentWithOptionList(const std::string& document, DocumentFormat format) {
    const std::string begin = std::string(kListBegin) + "\n";
    const std::string end = std::string(kListEnd) + "\n";
    const std::size_t first = document.find(begin);
    const std::size_t last = first == std::string::npos ? first : document.find(end, first);
    if (last == std::string::npos)
        throw std::runtime_error(std::string("the lines '") + kListBegin + "' and '" + kListEnd + "' are missing");
    return document.substr(0, first + begin.size()) + optionList(format) + document.substr(last);
}

std::string completionWithOptions(const std::string& script) {
    std::string locales;  // those --locale takes
    for (const std::string& locale : platform::nameOrderLocales()) locales += locale + ' ';
    if (!locales.empty()) locales.pop_back();
    return replaceLine(script, "# options",
                       "    local options='" + shellWords(false) + "'\n    local with_value='" + shellWords(true) +
                           "'\n    local locales='" + locales + "'\n");
}

}  // namespace inkrun::cli
