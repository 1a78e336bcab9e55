#pragma once

#include <map>
#include <string_view>

#include "model/window_description.h"
#include "platform/windows_api.h"

namespace inkrun::win32 {

// The fonts a window's controls use, made for one DPI and remade when the monitor changes.
class WindowFonts {
public:
    WindowFonts() = default;
    ~WindowFonts();
    WindowFonts(const WindowFonts&) = delete;
    WindowFonts& operator=(const WindowFonts&) = delete;

    void setDpi(UINT dpi);
    // The font a control's description asks for; the window's default font when it names none.
    HFONT forControl(const ui::ControlDescription& control);
    // The desktop's font for text, the one the person chose (the message font): what a control
    // whose text must follow it takes where it names no font. Made again by reload().
    HFONT desktopText();
    // Forgets every font, so that the next call makes it anew from the desktop's settings.
    void reload() { release(); }

private:
    void release();
    UINT dpi_ = 96;
    std::map<std::pair<std::string_view, int>, HFONT> fonts_;  // by family and weight
    HFONT desktopText_ = nullptr;
};

// What the text of a window (a caption, a label's line) needs in `font`, in pixels.
SIZE textExtent(HWND window, HFONT font);

// Pixels for twips on a monitor of the given DPI.
inline int scaled(int twips, UINT dpi) { return ui::twipsToPixels(twips, static_cast<int>(dpi)); }

}  // namespace inkrun::win32
