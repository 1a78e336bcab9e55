#pragma once

#include <string>

namespace inkrun::platform {

// Asks the top-level window whose title is exactly `title` to close, the way its close box
// would: WM_CLOSE on Windows, WM_DELETE_WINDOW on X11, nothing elsewhere. Returns whether a
// window was asked. Waits at most `waitMilliseconds` for it to disappear; never fails.
bool closeWindowByTitle(const std::string& title, int waitMilliseconds = 2000) noexcept;

}  // namespace inkrun::platform
