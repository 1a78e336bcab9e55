#include "script/script_lines.h"

#include "model/setup_line_ends.h"
#include "platform/ansi_codec.h"

namespace inkrun::script {

void forEachLine(std::string_view text, const std::function<void(std::size_t, std::string_view)>& each) {
    std::size_t number = 0;
    std::size_t start = 0;
    LineEndFinder ends(text);
    while (start < text.size()) {
        std::size_t end = ends.next(start);
        if (end == std::string_view::npos) end = text.size();
        each(++number, text.substr(start, end - start));
        start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
}

std::string withInvisiblesMarked(std::string_view line) {
    std::size_t visibleEnd = line.size();
    while (visibleEnd > 0 && line[visibleEnd - 1] == ' ') --visibleEnd;
    std::string shown;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); start < visibleEnd; tab = line.find('\t', start)) {
        const std::size_t end = tab < visibleEnd ? tab : visibleEnd;
        shown += platform::escapeControls(std::string(line.substr(start, end - start)));
        if (end == visibleEnd) break;
        shown += "<TAB>";
        start = end + 1;
    }
    for (std::size_t i = visibleEnd; i < line.size(); ++i) shown += "<SPACE>";
    return shown;
}

std::vector<InvisibleAnswer> invisibleAnswers(std::string_view text) {
    std::vector<InvisibleAnswer> found;
    forEachLine(text, [&](std::size_t number, std::string_view line) {
        const bool space = !line.empty() && line.back() == ' ';
        const bool tab = line.find('\t') != std::string_view::npos;
        if (space || tab) found.push_back({number, space, tab, withInvisiblesMarked(line)});
    });
    return found;
}

std::string describe(const InvisibleAnswer& answer, const std::string& whose) {
    std::string what = answer.endsInSpace ? "ends in a space" : "";
    if (answer.holdsTab) what += std::string(what.empty() ? "" : " and ") + "holds a tab";
    return "line " + std::to_string(answer.line) + " of " + whose + " " + what +
           ", which the CAD program takes for one more Enter: \"" + answer.shown + "\"";
}

}  // namespace inkrun::script
