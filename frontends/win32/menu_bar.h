#pragma once

#include <optional>

#include "model/shortcut.h"
#include "model/window_description.h"
#include "platform/windows_api.h"

namespace inkrun::win32 {

// The accelerator for a shortcut as the description spells it.
ACCEL acceleratorFor(const ui::Shortcut& shortcut, WORD command);

// A window's menu bar from its description, with an accelerator for each entry's shortcut; every
// entry sends the WM_COMMAND of its handler (command_ids.h).
class MenuBar {
public:
    MenuBar() = default;
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    void create(HWND window, const ui::WindowDescription& description);
    // True when the message was a shortcut and has been sent on as its command.
    bool translate(HWND window, MSG& message) const;

private:
    HACCEL accelerators_ = nullptr;
};

}  // namespace inkrun::win32
