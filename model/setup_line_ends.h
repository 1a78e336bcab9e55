#pragma once

#include <string>

namespace inkrun {

// The setup editor is a rich-text edit control in plain-text mode, and whatever line ends a text
// comes with, it holds CR LF: each CR LF, lone CR and lone LF becomes one CR LF, and CR CR LF (an
// edit control's soft line break) a space. Every program reads setups so, and so one setup file
// gives one script whichever program builds it. A text that needs no change is handed back as it
// stands, not copied.
std::string withEditorLineEnds(std::string text);
// Whether the text already holds only the editor's line ends.
bool holdsEditorLineEnds(const std::string& text);

}  // namespace inkrun
