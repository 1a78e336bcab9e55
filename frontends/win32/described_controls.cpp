#include "frontends/win32/described_controls.h"

#include <commctrl.h>

#include <string>

#include "frontends/win32/command_ids.h"
#include "model/keyboard_rules.h"
#include "platform/wide_text.h"

namespace inkrun::win32 {

using platform::widen;
using ui::ControlKind;

namespace {

DWORD controlStyle(const ui::ControlDescription& control) {
    DWORD style = WS_CHILD | WS_VISIBLE;
    // Option buttons of a frame are one tab stop, at the selected one (it moves with the choice).
    if (ui::isTabStop(control, control.initiallySelected)) style |= WS_TABSTOP;
    switch (control.kind) {
    case ControlKind::FileList:
        return style | WS_GROUP | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
    case ControlKind::PictureButton: return style | WS_GROUP | BS_PUSHBUTTON | BS_ICON;
    case ControlKind::TextBox:
        // The selection shows only while the box has the focus: one control looks focused.
        style |= WS_GROUP | ES_AUTOHSCROLL;
        if (control.multiLine && !control.singleLine) style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        if (control.scrollBars) style |= WS_HSCROLL | WS_VSCROLL;
        return style;
    case ControlKind::Label:
        // Paths are shown as they are: no access-key ampersands, long names broken like an edit box.
        return style | WS_GROUP | SS_NOPREFIX |
               (control.inactiveCaptionBackground ? (SS_LEFT | SS_EDITCONTROL) : SS_LEFTNOWORDWRAP);
    case ControlKind::Frame: return style | WS_GROUP | BS_GROUPBOX;
    case ControlKind::OptionButton: return style | BS_AUTORADIOBUTTON;
    }
    return style;
}

const wchar_t* controlClass(ControlKind kind) {
    switch (kind) {
    case ControlKind::FileList: return WC_LISTBOXW;
    case ControlKind::TextBox: return WC_EDITW;
    case ControlKind::Label: return WC_STATICW;
    case ControlKind::PictureButton:
    case ControlKind::Frame:
    case ControlKind::OptionButton: return WC_BUTTONW;
    }
    return WC_STATICW;
}

std::string_view initialText(const ui::ControlDescription& control) {
    switch (control.kind) {
    case ControlKind::PictureButton: return control.tooltip;  // read by screen readers, not shown
    case ControlKind::TextBox: return {};
    default: return control.caption;
    }
}

}  // namespace

void DescribedControls::create(HWND parent, HINSTANCE instance, const ui::WindowDescription& window) {
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, instance,
                                nullptr);
    for (std::size_t index = 0; index < window.controls.size(); ++index) {
        const ui::ControlDescription& description = window.controls[index];
        if (!description.created) continue;
        const int id = description.handler != ui::Handler::None ? commandId(description.handler)
                                                                : kControlIdBase + static_cast<int>(index);
        const DWORD exStyle = description.kind == ControlKind::FileList || description.kind == ControlKind::TextBox
                                  ? WS_EX_CLIENTEDGE
                                  : 0;
        // The arrow keys move within a dialog group, which starts at a WS_GROUP control: the
        // option buttons of a frame are a group of their own, without the frame.
        DWORD style = controlStyle(description);
        if (description.kind == ControlKind::OptionButton &&
            (controls_.empty() || controls_.back().description->kind != ControlKind::OptionButton ||
             controls_.back().description->container != description.container))
            style |= WS_GROUP;
        HWND control = CreateWindowExW(exStyle, controlClass(description.kind), widen(initialText(description)).c_str(),
                                       style, 0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       instance, nullptr);
        controls_.push_back({&description, control});

        if (description.kind == ControlKind::TextBox) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // memory only
        if (description.kind == ControlKind::OptionButton && description.initiallySelected)
            SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
        if (!description.tooltip.empty()) {
            const std::wstring tip = widen(description.tooltip);
            TOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = parent;
            tool.uId = reinterpret_cast<UINT_PTR>(control);
            tool.lpszText = const_cast<wchar_t*>(tip.c_str());
            SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

HWND DescribedControls::window(std::string_view name) const {
    for (const DescribedControl& control : controls_)
        if (control.description->name == name) return control.window;
    return nullptr;
}

const DescribedControl* DescribedControls::find(HWND window) const {
    if (!window) return nullptr;
    for (const DescribedControl& control : controls_)
        if (control.window == window) return &control;
    return nullptr;
}

}  // namespace inkrun::win32
