#include "frontends/win32/keyboard.h"

#include "model/keyboard_rules.h"

namespace inkrun::win32 {

bool applyKeyboardRules(HWND window, const DescribedControls& controls, const MSG& message) {
    if (message.message != WM_KEYDOWN || GetKeyState(VK_MENU) < 0) return false;
    const DescribedControl* focused = controls.find(message.hwnd);
    if (!focused) return false;
    ui::KeyStroke stroke;
    stroke.control = GetKeyState(VK_CONTROL) < 0;
    switch (message.wParam) {
    case VK_TAB: stroke.key = GetKeyState(VK_SHIFT) < 0 ? ui::Key::Backtab : ui::Key::Tab; break;
    case VK_RETURN: stroke.key = ui::Key::Enter; break;
    case 'A':
        if (!stroke.control || GetKeyState(VK_SHIFT) < 0) return false;
        stroke.key = ui::Key::SelectAll;
        break;
    default: return false;
    }
    switch (ui::answerKey(*focused->description, stroke)) {
    case ui::KeyAnswer::AsUsual: return false;
    case ui::KeyAnswer::FocusNext: moveFocus(window, controls, false); return true;
    case ui::KeyAnswer::FocusPrevious: moveFocus(window, controls, true); return true;
    case ui::KeyAnswer::Press: SendMessageW(focused->window, BM_CLICK, 0, 0); return true;
    case ui::KeyAnswer::Ignore: return true;
    case ui::KeyAnswer::SelectAll: SendMessageW(focused->window, LB_SETSEL, TRUE, -1); return true;
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
