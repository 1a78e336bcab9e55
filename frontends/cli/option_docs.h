#pragma once

#include <string>

namespace inkrun::cli {

// The command line's option table for people who read documentation rather than --help.

// The manual page: `page` with the lines ".\" options", ".\" exit status" and ".\" examples"
// replaced by the OPTIONS and EXIT STATUS sections and the examples, in roff.
std::string manPageWithOptions(const std::string& page);

// The option list, the exit statuses and the examples as tables: in Markdown for the README, in
// HTML for the help page.
enum class DocumentFormat { Markdown, Html };
std::string optionList(DocumentFormat format);

// `document` with the text between the lines kListBegin and kListEnd replaced by
// optionList(format); throws std::runtime_error when the markers are missing.
inline constexpr const char* kListBegin = "<!-- inkrun-build options: begin -->";
inline constexpr const char* kListEnd = "<!-- inkrun-build options: end -->";
std::string documentWithOptionList(const std::string& document, DocumentFormat format);

// The bash completion: `script` with the line "# options" replaced by the options as shell
// variables: every option's names, and those that take a value.
std::string completionWithOptions(const std::string& script);

}  // namespace inkrun::cli
