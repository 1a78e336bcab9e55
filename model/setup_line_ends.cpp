#include "model/setup_line_ends.h"

namespace inkrun {

// Every CR starts a CR LF and every LF ends one.
bool holdsEditorLineEnds(std::string_view text) {
    LineEndFinder ends(text);
    for (std::size_t i = ends.next(0); i != std::string_view::npos; i = ends.next(i + 2))
        if (text[i] == '\n' || i + 1 == text.size() || text[i + 1] != '\n') return false;
    return true;
}

std::string withEditorLineEnds(std::string text) {
    if (holdsEditorLineEnds(text)) return text;
    std::string held;
    held.reserve(text.size() + text.size() / 16);
    const std::string_view view = text;
    LineEndFinder ends(view);
    std::size_t start = 0;
    for (std::size_t end = ends.next(0); end != std::string_view::npos; end = ends.next(start)) {
        held.append(view, start, end - start);
        if (view.compare(end, 3, "\r\r\n") == 0) {
            held.push_back(' ');
            start = end + 3;
        } else {
            held.append("\r\n");
            start = end + (view.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        }
    }
    held.append(view, start);
    return held;
}

}  // namespace inkrun
