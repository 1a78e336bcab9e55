#include "frontends/win32/keyboard.h"

namespace inkrun::win32 {

bool applyKeyboardRules(HWND window, const DescribedControls& controls, const MSG& message) {
    if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    if (message.wParam == VK_TAB) {
        moveFocus(window, controls, GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    const DescribedControl* focused = controls.find(message.hwnd);
    if (message.wParam == VK_RETURN && focused && focused->description->kind == ui::ControlKind::PictureButton) {
        SendMessageW(focused->window, BM_CLICK, 0, 0);
        return true;
    }
    return false;
}

void moveFocus(HWND window, const DescribedControls& controls, bool backwards) {
    HWND next = GetNextDlgTabItem(window, GetFocus(), backwards);
    if (!next) return;
    SetFocus(next);
    const DescribedControl* entered = controls.find(next);
    if (entered && entered->description->kind == ui::ControlKind::TextBox && entered->description->singleLine)
        SendMessageW(next, EM_SETSEL, 0, -1);
}

}  // namespace inkrun::win32
