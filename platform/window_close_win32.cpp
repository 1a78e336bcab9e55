#include "platform/window_close.h"

#include "platform/wait_while.h"
#include "platform/windows_api.h"

#include <vector>

#include "platform/ansi_codec.h"

namespace inkrun::platform {

using detail::waitWhile;

bool detail::closeWindows(const std::string& title, const std::string* windowClass, int waitMilliseconds) noexcept {
    try {
        // An empty title would match every untitled window.
        if (title.empty()) return false;
        const std::string wanted = encodeAnsi(title);
        const std::string className = windowClass ? encodeAnsi(*windowClass) : std::string();

        // FindWindow compares titles without regard to case; only an exact match is ours.
        std::vector<HWND> asked;
        std::vector<char> text(wanted.size() + 2);
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, windowClass ? className.c_str() : nullptr, wanted.c_str())) !=
               nullptr) {
            const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
            if (length < 0 || std::string(text.data(), static_cast<std::size_t>(length)) != wanted) continue;
            if (PostMessageA(window, WM_CLOSE, 1, 1)) asked.push_back(window);
        }
        if (asked.empty()) return false;

        waitWhile(
            [&] {
                for (HWND w : asked)
                    if (IsWindow(w)) return true;
                return false;
            },
            waitMilliseconds);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace inkrun::platform
