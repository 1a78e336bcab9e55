#pragma once

#include <optional>

#include "model/window_description.h"

namespace inkrun::win32 {

// WM_COMMAND ids: a control or menu entry that runs a handler carries the handler's number above
// kHandlerIdBase, so a button, its menu entry and a shortcut all arrive as the same command. Other
// controls carry their place in the table above kControlIdBase.
inline constexpr int kControlIdBase = 100;
inline constexpr int kHandlerIdBase = 1000;

inline int commandId(ui::Handler handler) { return kHandlerIdBase + static_cast<int>(handler); }

inline std::optional<ui::Handler> handlerOf(int id) {
    const int number = id - kHandlerIdBase;
    if (number <= 0 || number >= static_cast<int>(ui::Handler::Count)) return std::nullopt;
    return static_cast<ui::Handler>(number);
}

}  // namespace inkrun::win32
