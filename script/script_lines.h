#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A script as the CAD program reads it: line by line, where a space or a tab is Enter as much as
// the line's end is. A space at the end of a line, or a tab anywhere, answers one more prompt
// than the line shows, and every answer after it lands in the wrong prompt.

namespace inkrun::script {

// Calls each(number, line) for every line of `text`, numbered from 1, without its line end (CR LF,
// LF or a lone CR). A line end at the very end of the text ends the last line: no empty line
// follows it. An empty text has no lines.
void forEachLine(std::string_view text, const std::function<void(std::size_t, std::string_view)>& each);

// The line as a person should see it: each tab as "<TAB>", each space at its end as "<SPACE>",
// other control characters escaped ("\x01").
std::string withInvisiblesMarked(std::string_view line);

// A line that answers more prompts than it shows.
struct InvisibleAnswer {
    std::size_t line;  // from 1
    bool endsInSpace;
    bool holdsTab;
    std::string shown;  // withInvisiblesMarked
};
std::vector<InvisibleAnswer> invisibleAnswers(std::string_view text);

// What is wrong with such a line, for a warning: "line 4 of the script setup ends in a space".
std::string describe(const InvisibleAnswer& answer, const std::string& whose);

}  // namespace inkrun::script
