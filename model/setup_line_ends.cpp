#include "model/setup_line_ends.h"

namespace inkrun {

// Every CR starts a CR LF and every LF ends one.
bool holdsEditorLineEnds(const std::string& text) {
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size; ++i) {
        if (text[i] == '\n') return false;
        if (text[i] != '\r') continue;
        if (i + 1 == size || text[i + 1] != '\n') return false;
        ++i;
    }
    return true;
}

std::string withEditorLineEnds(std::string text) {
    if (holdsEditorLineEnds(text)) return text;
    std::string held;
    held.reserve(text.size() + text.size() / 16);
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char c = text[i];
        if (c == '\r' && i + 2 < size && text[i + 1] == '\r' && text[i + 2] == '\n') {
            held.push_back(' ');
            i += 2;
        } else if (c == '\r' || c == '\n') {
            held.append("\r\n");
            if (c == '\r' && i + 1 < size && text[i + 1] == '\n') ++i;
        } else {
            held.push_back(c);
        }
    }
    return held;
}

}  // namespace inkrun
