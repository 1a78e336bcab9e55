#include "frontends/win32/control_colours.h"

namespace inkrun::win32 {

std::optional<LRESULT> controlColours(UINT message, HDC dc, const DescribedControl* control) {
    if (control && control->description->inactiveCaptionBackground) {
        const COLORREF back = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
        // The colour is meant for text, so themes may make it dark: the text takes whichever of
        // black and white stands out on it.
        const int light = (GetRValue(back) * 299 + GetGValue(back) * 587 + GetBValue(back) * 114) / 1000;
        SetBkColor(dc, back);
        SetTextColor(dc, light < 128 ? RGB(255, 255, 255) : RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INACTIVECAPTIONTEXT));
    }
    if (message == WM_CTLCOLOREDIT) return std::nullopt;
    // Labels, the frame and the option buttons stand on the window's own face.
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace inkrun::win32
