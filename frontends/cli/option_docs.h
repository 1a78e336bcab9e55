#pragma once

#include <string>

namespace inkrun::cli {

// The command line's option table for people who read documentation rather than --help.

// The manual page: `page` with the lines ".\" options" and ".\" exit status" replaced by the
// OPTIONS and EXIT STATUS sections in roff.
std::string manPageWithOptions(const std::string& page);

// The README's option list and exit statuses as Markdown tables.
std::string markdownOptionList();

// `document` with the text between the lines kMarkdownBegin and kMarkdownEnd replaced by
// markdownOptionList(); throws std::runtime_error when the markers are missing.
inline constexpr const char* kMarkdownBegin = "<!-- inkrun-build options: begin -->";
inline constexpr const char* kMarkdownEnd = "<!-- inkrun-build options: end -->";
std::string documentWithOptionList(const std::string& document);

}  // namespace inkrun::cli
