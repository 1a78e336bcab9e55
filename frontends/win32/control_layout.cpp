#include "frontends/win32/control_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "frontends/win32/icons.h"

namespace inkrun::win32 {

using ui::ControlKind;

namespace {

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

// A label's place reaches a little into the control below it (the drawing list, the setup
// editor, the settings directory). A static control fills its whole rectangle, which at 144 dpi
// and above wipes out that control's top border: a label ends where a control beneath it begins.
void keepLabelsOffControlsBelow(const std::vector<DescribedControl>& controls, std::vector<RECT>& places) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].description->kind != ControlKind::Label) continue;
        RECT& label = places[i];
        for (std::size_t j = 0; j < controls.size(); ++j) {
            const RECT& other = places[j];
            const bool sideBySide = other.left < label.right && label.left < other.right;
            if (j != i && sideBySide && other.top > label.top && other.top < label.bottom) label.bottom = other.top;
        }
    }
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

    const std::vector<DescribedControl>& all = controls.all();
    std::vector<RECT> places;
    places.reserve(all.size());
    for (const DescribedControl& c : all) {
        const ui::ControlDescription& control = *c.description;
        const ui::TwipsRect place = clientPlace(description, control);
        int width = scaled(place.width, dpi);
        // A caption that the system's font makes wider than its place grows to the right rather
        // than being cut off, up to the window's edge.
        if ((control.kind == ControlKind::Label || control.kind == ControlKind::OptionButton) &&
            !control.inactiveCaptionBackground) {
            const int box = control.kind == ControlKind::OptionButton ? GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + 6
                                                                      : 0;
            const int room = scaled(description.clientWidth, dpi) - scaled(place.left, dpi);
            width = std::max(
                width, std::min(static_cast<int>(textExtent(c.window, fonts_.forControl(control)).cx) + box, room));
        }
        const int left = scaled(place.left, dpi);
        const int top = scaled(place.top, dpi);
        places.push_back(RECT{left, top, left + width, top + scaled(place.height, dpi)});
    }
    keepLabelsOffControlsBelow(all, places);

    HDWP moves = BeginDeferWindowPos(static_cast<int>(all.size()));
    for (std::size_t i = 0; i < all.size(); ++i) {
        const DescribedControl& c = all[i];
        const RECT& place = places[i];
        moves = DeferWindowPos(moves, c.window, nullptr, place.left, place.top, place.right - place.left,
                               place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(c.window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.forControl(*c.description)), TRUE);
        if (c.description->kind == ControlKind::PictureButton) {
            HICON icon = buttonIcon(instance, c.description->icon, iconSize);
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
