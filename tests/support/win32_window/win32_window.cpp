// A top-level Win32 window with the title given, for the tests that close windows by title.
// Exits 0 when it is asked to close with WM_CLOSE(1, 1), 3 when asked otherwise, 4 after 30 s.
//   win32_window TITLE
#include "platform/windows_api.h"

namespace {

int exitCode = 4;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        exitCode = wParam == 1 && lParam == 1 ? 0 : 3;
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(exitCode);
        return 0;
    }
    if (message == WM_TIMER) {
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "InkrunTestWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("InkrunTestWindow", argv[1], WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    if (!window) return 2;
    ShowWindow(window, SW_SHOWNORMAL);
    SetTimer(window, 1, 30000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return exitCode;
}
