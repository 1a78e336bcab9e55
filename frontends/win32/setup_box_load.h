#pragma once

#include <string>

#include "platform/windows_api.h"

namespace inkrun::win32 {

// Puts a setup into the setup box. A large one goes in piece by piece behind a progress box,
// with `owner` disabled meanwhile, so the window keeps painting, shows what it is doing and
// starts no other command: the edit control takes many seconds to lay out megabytes.
void loadSetupBox(HWND owner, HWND box, const std::wstring& text);

}  // namespace inkrun::win32
