#pragma once

#include "platform/windows_api.h"

namespace inkrun::win32 {

// Makes an edit control a single-line box as the keyboard rules have it: a pasted text loses
// its line breaks (model/keyboard_rules.h, singleLine) rather than being cut at the first.
void makeSingleLineBox(HWND edit);

}  // namespace inkrun::win32
