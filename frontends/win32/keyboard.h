#pragma once

#include "frontends/win32/described_controls.h"

namespace inkrun::win32 {

// Tab leaves the setup editor as it leaves every other control (setups hold no tabs), and Enter
// presses the focused picture button, as Space does. True when the message was dealt with; the
// rest is the dialog manager's (IsDialogMessage).
bool applyKeyboardRules(HWND window, const DescribedControls& controls, const MSG& message);

// Moves the keyboard focus to the next (or previous) tab stop of `window`. Entering a
// single-line box selects its text, as in every dialog.
void moveFocus(HWND window, const DescribedControls& controls, bool backwards);

}  // namespace inkrun::win32
