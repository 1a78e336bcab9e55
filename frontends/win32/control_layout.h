#pragma once

#include <vector>

#include "frontends/win32/described_controls.h"
#include "frontends/win32/window_fonts.h"

namespace inkrun::win32 {

// Where the main window's controls stand, and what they are drawn with, on a monitor of a given
// DPI: the table's twips scaled, captions grown to fit, fonts and button icons made for it.
class ControlLayout {
public:
    ControlLayout() = default;
    ~ControlLayout();
    ControlLayout(const ControlLayout&) = delete;
    ControlLayout& operator=(const ControlLayout&) = delete;

    // Lays out the controls of `window` (created from `description` with `style` and `exStyle`)
    // at `dpi`, and sizes the window to hold its client area.
    void apply(HWND window, DWORD style, DWORD exStyle, const ui::WindowDescription& description,
               const DescribedControls& controls, HINSTANCE instance, UINT dpi);

private:
    void releaseIcons();

    WindowFonts fonts_;
    std::vector<HICON> buttonIcons_;
};

}  // namespace inkrun::win32
