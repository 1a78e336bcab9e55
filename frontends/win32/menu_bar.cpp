#include "frontends/win32/menu_bar.h"

#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "frontends/win32/command_ids.h"
#include "platform/wide_text.h"

namespace inkrun::win32 {

using platform::widen;

namespace {

// "Ctrl+S" as an accelerator; the table names no other kind of shortcut.
bool parseShortcut(std::string_view shortcut, ACCEL& accel) {
    constexpr std::string_view ctrl = "Ctrl+";
    if (!shortcut.starts_with(ctrl) || shortcut.size() != ctrl.size() + 1) return false;
    accel.fVirt = FCONTROL | FVIRTKEY;
    accel.key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(shortcut.back())));
    return true;
}

}  // namespace

MenuBar::~MenuBar() {
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

void MenuBar::create(HWND window, const ui::WindowDescription& description) {
    HMENU bar = CreateMenu();
    std::vector<ACCEL> accelerators;
    for (const ui::Menu& menu : description.menus) {
        HMENU popup = CreatePopupMenu();
        for (const ui::MenuEntry& entry : menu.entries) {
            if (entry.isSeparator()) {
                AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            const WORD command = static_cast<WORD>(commandId(entry.handler));
            std::wstring caption = widen(entry.caption);
            ACCEL accel{};
            if (!entry.shortcut.empty() && parseShortcut(entry.shortcut, accel)) {
                caption += L"\t" + widen(entry.shortcut);
                accel.cmd = command;
                accelerators.push_back(accel);
            }
            AppendMenuW(popup, MF_STRING, command, caption.c_str());
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), widen(menu.caption).c_str());
    }
    SetMenu(window, bar);
    if (!accelerators.empty())
        accelerators_ = CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));
}

bool MenuBar::translate(HWND window, MSG& message) const {
    return accelerators_ && TranslateAcceleratorW(window, accelerators_, &message);
}

}  // namespace inkrun::win32
