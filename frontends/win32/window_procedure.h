#pragma once

#include "platform/windows_api.h"

namespace inkrun::win32 {

// The window procedure of a class whose objects answer their own messages. The object comes as
// CreateWindowExW's last argument and is kept in GWLP_USERDATA; it learns its handle on
// WM_NCCREATE (attach) and that the handle is gone on WM_NCDESTROY (detach), and gets every
// message between through handleMessage.
template <typename Window>
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->attach(window);
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->detach();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handleMessage(message, wParam, lParam);
}

// Registers a window class of that kind, once; a second registration fails harmlessly.
template <typename Window>
void registerWindowClass(HINSTANCE instance, const wchar_t* name, HICON icon = nullptr, HICON smallIcon = nullptr) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &windowProcedure<Window>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    RegisterClassExW(&windowClass);
}

}  // namespace inkrun::win32
