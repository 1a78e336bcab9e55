#include "frontends/win32/control_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "frontends/win32/icons.h"

namespace inkrun::win32 {

using ui::ControlKind;

namespace {

int captionWidth(HWND window, HFONT font) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx;
}

// The place of a control in the client area: an option button's is given within its frame.
ui::TwipsRect clientPlace(const ui::WindowDescription& description, const ui::ControlDescription& control) {
    ui::TwipsRect place = control.place;
    if (const ui::ControlDescription* frame = control.container.empty()
                                                  ? nullptr
                                                  : ui::findControl(description, control.container)) {
        place.left += frame->place.left;
        place.top += frame->place.top;
    }
    return place;
}

}  // namespace

ControlLayout::~ControlLayout() { releaseIcons(); }

void ControlLayout::releaseIcons() {
    for (HICON icon : buttonIcons_) DestroyIcon(icon);
    buttonIcons_.clear();
}

void ControlLayout::apply(HWND window, DWORD style, DWORD exStyle, const ui::WindowDescription& description,
                          const DescribedControls& controls, HINSTANCE instance, UINT dpi) {
    dpi = dpi ? dpi : 96;
    fonts_.setDpi(dpi);
    releaseIcons();
    const int iconSize = MulDiv(32, static_cast<int>(dpi), 96);

    HDWP moves = BeginDeferWindowPos(static_cast<int>(controls.all().size()));
    for (const DescribedControl& c : controls.all()) {
        const ui::ControlDescription& control = *c.description;
        const ui::TwipsRect place = clientPlace(description, control);
        HFONT font = fonts_.forControl(control);
        int width = scaled(place.width, dpi);
        // A caption that the system's font makes wider than its place grows to the right rather
        // than being cut off, up to the window's edge.
        if ((control.kind == ControlKind::Label || control.kind == ControlKind::OptionButton) &&
            !control.inactiveCaptionBackground) {
            const int box = control.kind == ControlKind::OptionButton ? GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + 6
                                                                      : 0;
            const int room = scaled(description.clientWidth, dpi) - scaled(place.left, dpi);
            width = std::max(width, std::min(captionWidth(c.window, font) + box, room));
        }
        moves = DeferWindowPos(moves, c.window, nullptr, scaled(place.left, dpi), scaled(place.top, dpi), width,
                               scaled(place.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(c.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (control.kind == ControlKind::PictureButton) {
            HICON icon = buttonIcon(instance, control.icon, iconSize);
            buttonIcons_.push_back(icon);
            SendMessageW(c.window, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        }
    }
    EndDeferWindowPos(moves);

    RECT frame{0, 0, scaled(description.clientWidth, dpi), scaled(description.clientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, style, GetMenu(window) != nullptr, exStyle, dpi);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND tips = controls.tooltips())
        SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, static_cast<int>(dpi), 96));
}

}  // namespace inkrun::win32
