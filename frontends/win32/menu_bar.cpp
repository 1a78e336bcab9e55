#include "frontends/win32/menu_bar.h"

#include <string>
#include <vector>

#include "frontends/win32/command_ids.h"
#include "platform/wide_text.h"

namespace inkrun::win32 {

using platform::widen;

namespace {

WORD virtualKey(const ui::Shortcut& shortcut) {
    using ui::ShortcutKey;
    switch (shortcut.key) {
    case ShortcutKey::Character: return static_cast<WORD>(shortcut.character);  // 'A' to 'Z', '0' to '9'
    case ShortcutKey::Function: return static_cast<WORD>(VK_F1 + shortcut.function - 1);
    case ShortcutKey::Delete: return VK_DELETE;
    case ShortcutKey::Insert: return VK_INSERT;
    case ShortcutKey::Home: return VK_HOME;
    case ShortcutKey::End: return VK_END;
    case ShortcutKey::PageUp: return VK_PRIOR;
    case ShortcutKey::PageDown: return VK_NEXT;
    case ShortcutKey::Left: return VK_LEFT;
    case ShortcutKey::Up: return VK_UP;
    case ShortcutKey::Right: return VK_RIGHT;
    case ShortcutKey::Down: return VK_DOWN;
    }
    return 0;
}

}  // namespace

ACCEL acceleratorFor(const ui::Shortcut& shortcut, WORD command) {
    ACCEL accel{};
    accel.fVirt = FVIRTKEY | (shortcut.control ? FCONTROL : 0) | (shortcut.shift ? FSHIFT : 0) |
                  (shortcut.alt ? FALT : 0);
    accel.key = virtualKey(shortcut);
    accel.cmd = command;
    return accel;
}

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
            if (const auto shortcut = ui::parseShortcut(entry.shortcut)) {
                caption += L"\t" + widen(entry.shortcut);
                accelerators.push_back(acceleratorFor(*shortcut, command));
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
