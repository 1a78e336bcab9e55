#pragma once

#include "model/window_description.h"
#include "platform/windows_api.h"

namespace inkrun::win32 {

// Icons from the program's resources at a size in pixels; the system picks the nearest of the
// 16, 32 and 48 pixel images and scales it. The caller destroys what it gets.
HICON resourceIcon(HINSTANCE instance, ui::IconId id, int size);
inline HICON programIcon(HINSTANCE instance, int size) { return resourceIcon(instance, ui::IconId::Program, size); }
inline HICON buttonIcon(HINSTANCE instance, ui::IconId id, int size) { return resourceIcon(instance, id, size); }

}  // namespace inkrun::win32
