#include "frontends/win32/frm_about.h"

#include <stdexcept>
#include <string>

#include "frontends/win32/icons.h"
#include "inkrun_version.h"
#include "model/readable_colour.h"
#include "model/text_fit.h"
#include "platform/wide_text.h"

namespace inkrun::win32 {

using platform::narrow;
using platform::widen;

namespace {

constexpr wchar_t kWindowClass[] = L"InkrunAboutWindow";
// A close box, no minimize or maximize box, and a size of its own.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

COLORREF colorRef(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
std::uint32_t rgbOf(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// The design's colour where it reads on the window's background, a readable one where it does
// not (a high-contrast or dark theme).
COLORREF textColour(std::uint32_t wanted) {
    return colorRef(ui::readableColour(wanted, rgbOf(GetSysColor(COLOR_BTNFACE))));
}

}  // namespace

frmAbout::frmAbout(HINSTANCE instance) : instance_(instance) {}

frmAbout::~frmAbout() {
    if (window_) DestroyWindow(window_);
    releaseIcons();
}

void frmAbout::releaseIcons() {
    for (HICON& icon : titleIcons_) {
        if (icon) DestroyIcon(icon);
        icon = nullptr;
    }
    if (picture_) DestroyIcon(picture_);
    picture_ = nullptr;
}

void frmAbout::show() {
    if (!window_) create();
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
}

void frmAbout::create() {
    registerWindowClass<frmAbout>(instance_, kWindowClass);

    const ui::WindowDescription& description = ui::aboutWindow();
    // No owner: it stands beside the main window, which stays usable.
    CreateWindowExW(0, kWindowClass, widen(description.caption).c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0,
                    0, nullptr, nullptr, instance_, this);
    if (!window_) throw std::runtime_error("The About window could not be created.");
    labels_.clear();
    for (const ui::ControlDescription& control : description.controls) {
        HWND label = CreateWindowExW(0, L"STATIC", widen(control.caption).c_str(),
                                     WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 0, 0, 0, 0,
                                     window_, nullptr, instance_, nullptr);
        labels_.push_back({&control, label});
    }
    Form_Load();
    applyDpi(GetDpiForWindow(window_));
}

void frmAbout::Form_Load() {
    const std::string line = "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
                             std::to_string(kVersionRevision);
    for (const Label& label : labels_)
        if (label.description->name == "lblVersion") SetWindowTextW(label.window, widen(line).c_str());
}

void frmAbout::applyDpi(UINT dpi) {
    dpi_ = dpi ? dpi : 96;
    fonts_.setDpi(dpi_);
    releaseIcons();
    const ui::WindowDescription& description = ui::aboutWindow();
    titleIcons_[0] = resourceIcon(instance_, description.icon, GetSystemMetricsForDpi(SM_CXSMICON, dpi_));
    titleIcons_[1] = resourceIcon(instance_, description.icon, GetSystemMetricsForDpi(SM_CXICON, dpi_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(titleIcons_[0]));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(titleIcons_[1]));
    picture_ = resourceIcon(instance_, ui::IconId::Program, MulDiv(32, static_cast<int>(dpi_), 96));

    for (const Label& label : labels_) {
        // The lines in the window's own font follow the desktop's: a person who chose a larger
        // one reads them in it.
        const ui::ControlDescription& control = *label.description;
        HFONT font = control.font.family.empty() ? fonts_.desktopText() : fonts_.forControl(control);
        SendMessageW(label.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    fitToText();
}

// The design's twips are the least each label gets; a font that needs more makes room.
void frmAbout::fitToText() {
    const ui::WindowDescription& description = ui::aboutWindow();
    std::vector<ui::Box> described, needed;
    for (const Label& label : labels_) {
        const ui::TwipsRect& place = label.description->place;
        described.push_back(
            {scaled(place.left, dpi_), scaled(place.top, dpi_), scaled(place.width, dpi_), scaled(place.height, dpi_)});
        const SIZE text = textExtent(label.window,
                                     reinterpret_cast<HFONT>(SendMessageW(label.window, WM_GETFONT, 0, 0)));
        needed.push_back({0, 0, static_cast<int>(text.cx), static_cast<int>(text.cy)});
    }
    const ui::FittedLayout layout = ui::fitToText(described, needed, scaled(description.clientWidth, dpi_),
                                                  scaled(description.clientHeight, dpi_));
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        const ui::Box& place = layout.places[i];
        SetWindowPos(labels_[i].window, nullptr, place.left, place.top, place.width, place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT frame{0, 0, layout.width, layout.height};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, 0, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

LRESULT frmAbout::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        if (picture_) {
            const int size = MulDiv(32, static_cast<int>(dpi_), 96);
            DrawIconEx(dc, 0, 0, picture_, size, size, 0, nullptr, DI_NORMAL);
        }
        EndPaint(window_, &paint);
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        HWND from = reinterpret_cast<HWND>(lParam);
        SetBkMode(dc, TRANSPARENT);
        for (const Label& label : labels_)
            if (label.window == from && !label.description->font.defaultColor)
                SetTextColor(dc, textColour(label.description->font.color));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_KEYDOWN:
        if (wParam != VK_ESCAPE) break;
        PostMessageW(window_, WM_CLOSE, 0, 0);
        return 0;
    case WM_SETTINGCHANGE:
        // The desktop's font, chosen anew.
        if (wParam == SPI_SETNONCLIENTMETRICS) {
            fonts_.reload();
            applyDpi(dpi_);
        }
        break;
    case WM_DPICHANGED: {
        applyDpi(HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace inkrun::win32
