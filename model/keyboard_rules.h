#pragma once

#include <string>
#include <string_view>

#include "model/window_description.h"

// The keyboard as both windows answer it, above what their toolkits do by themselves.

namespace inkrun::ui {

enum class Key {
    Tab,  // with Shift it is Backtab
    Backtab,
    Enter,      // Return or the keypad's Enter
    SelectAll,  // Ctrl+A
    Other,
};

struct KeyStroke {
    Key key = Key::Other;
    bool control = false;
};

enum class KeyAnswer {
    AsUsual,        // the toolkit's own handling
    FocusNext,      // on to the next tab stop
    FocusPrevious,  // back to the previous one
    Press,          // the button is pressed, as with Space
    Ignore,         // nothing happens, nothing is typed
    SelectAll,      // every entry of the list is selected
};

// Setups are command-line answers, where a tab means nothing, and a person who presses Tab
// wants to move on: so no text box ever types a tab, with or without Ctrl. Tabs that come in
// with a loaded or pasted setup stay as they are.
// Ctrl+A in the drawing list selects every drawing, as in any list of files.
KeyAnswer answerKey(const ControlDescription& control, KeyStroke stroke);

// The text a single-line box takes from a paste: every line break dropped, so a path copied
// with its line end from a terminal is still the path.
std::string singleLine(std::string_view text);

// Option buttons of one frame are one tab stop: the selected one. Everything else that takes
// part in the tab order is a stop of its own.
bool isTabStop(const ControlDescription& control, bool selected);

}  // namespace inkrun::ui
