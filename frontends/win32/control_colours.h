#pragma once

#include <optional>

#include "frontends/win32/described_controls.h"

namespace inkrun::win32 {

// The answer to WM_CTLCOLOREDIT or WM_CTLCOLORSTATIC for one of the window's controls: the path
// boxes on COLOR_INACTIVECAPTIONTEXT, captions on the window's face. nullopt: the system's own.
std::optional<LRESULT> controlColours(UINT message, HDC dc, const DescribedControl* control);

}  // namespace inkrun::win32
