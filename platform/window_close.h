#pragma once

#include <string>

namespace inkrun::platform {

namespace detail {
// Every top-level window titled exactly `title`, and of the class `*windowClass` when one is
// given, is asked to close; one definition per system.
bool closeWindows(const std::string& title, const std::string* windowClass, int waitMilliseconds) noexcept;
}  // namespace detail

// Asks the top-level window whose title is exactly `title` to close, the way its close box
// would: WM_CLOSE on Windows, WM_DELETE_WINDOW on X11, nothing elsewhere. Returns whether a
// window was asked. Waits at most `waitMilliseconds` for it to disappear; never fails.
inline bool closeWindowByTitle(const std::string& title, int waitMilliseconds = 2000) noexcept {
    return detail::closeWindows(title, nullptr, waitMilliseconds);
}

// The same for a window of one program only: the title and the window's class must both match
// exactly. The class is the Win32 window class, and on X11 the class half of WM_CLASS. Another
// program's window that happens to carry the title is left alone.
inline bool closeWindowByTitleAndClass(const std::string& title, const std::string& windowClass,
                                       int waitMilliseconds = 2000) noexcept {
    return detail::closeWindows(title, &windowClass, waitMilliseconds);
}

}  // namespace inkrun::platform
