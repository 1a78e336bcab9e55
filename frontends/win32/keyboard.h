#pragma once

#include "frontends/win32/described_controls.h"

namespace inkrun::win32 {

// The shared keyboard rules (model/keyboard_rules.h) on a key message for one of the
// window's controls: Tab and Ctrl+Tab leave a text box, Enter presses a picture button, Enter
// types nothing in a single-line box. True when the message was dealt with; the rest is the
// dialog manager's (IsDialogMessage).
bool applyKeyboardRules(HWND window, const DescribedControls& controls, const MSG& message);

// Moves the keyboard focus to the next (or previous) tab stop of `window`. Entering a
// single-line box selects its text, as in every dialog.
void moveFocus(HWND window, const DescribedControls& controls, bool backwards);

}  // namespace inkrun::win32
