#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace inkrun {

// The setup editor is a rich-text edit control in plain-text mode, and whatever line ends a text
// comes with, it holds CR LF: each CR LF, lone CR and lone LF becomes one CR LF, and CR CR LF (an
// edit control's soft line break) a space. Every program reads setups so, and so one setup file
// gives one script whichever program builds it. A text that needs no change is handed back as it
// stands, not copied.
std::string withEditorLineEnds(std::string text);
// Whether the text already holds only the editor's line ends.
bool holdsEditorLineEnds(std::string_view text);

// Finds the line ends (CR or LF) of a text in order, at memchr's pace rather than a character at a
// time: a setup may run to hundreds of megabytes. The next CR and the next LF are each kept until
// the search passes them.
class LineEndFinder {
public:
    explicit LineEndFinder(std::string_view text) : text_(text), cr_(text.find('\r')), lf_(text.find('\n')) {}

    // The position of the first CR or LF at or after `from`, or npos.
    std::size_t next(std::size_t from) {
        if (cr_ < from) cr_ = text_.find('\r', from);
        if (lf_ < from) lf_ = text_.find('\n', from);
        return cr_ < lf_ ? cr_ : lf_;
    }

private:
    std::string_view text_;
    std::size_t cr_;
    std::size_t lf_;
};

}  // namespace inkrun
