#include "frontends/win32/window_fonts.h"

#include <cmath>
#include <string>

#include "platform/wide_text.h"

namespace inkrun::win32 {

using platform::narrow;
using platform::widen;

namespace {

// The layout was drawn for an 8 point dialog font; the system's shell dialog face keeps it
// inside the places the table gives.
constexpr double kDefaultPoints = 8;
constexpr wchar_t kDefaultFamily[] = L"MS Shell Dlg 2";

}  // namespace

WindowFonts::~WindowFonts() { release(); }

void WindowFonts::release() {
    for (auto& [key, font] : fonts_) DeleteObject(font);
    fonts_.clear();
    if (desktopText_) DeleteObject(desktopText_);
    desktopText_ = nullptr;
}

HFONT WindowFonts::desktopText() {
    if (desktopText_) return desktopText_;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi_))
        desktopText_ = CreateFontIndirectW(&metrics.lfMessageFont);
    if (!desktopText_) desktopText_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return desktopText_;
}

void WindowFonts::setDpi(UINT dpi) {
    if (dpi == dpi_ && !fonts_.empty()) return;
    release();
    dpi_ = dpi;
}

HFONT WindowFonts::forControl(const ui::ControlDescription& control) {
    const ui::FontDescription& font = control.font;
    const auto key = std::make_pair(font.family, font.weight);
    if (auto found = fonts_.find(key); found != fonts_.end()) return found->second;

    LOGFONTW description{};
    const double points = font.points > 0 ? font.points : kDefaultPoints;
    description.lfHeight = -static_cast<LONG>(std::lround(points * dpi_ / 72.0));
    description.lfWeight = font.weight;
    // A face the description names is asked for in the ANSI character set, as it was designed.
    description.lfCharSet = font.family.empty() ? DEFAULT_CHARSET : ANSI_CHARSET;
    description.lfQuality = CLEARTYPE_QUALITY;
    // Where the named face is missing the font mapper picks one of the same pitch and family.
    description.lfPitchAndFamily = font.fixedPitch ? (FIXED_PITCH | FF_MODERN)
                                   : font.serif    ? (VARIABLE_PITCH | FF_ROMAN)
                                                   : (DEFAULT_PITCH | FF_DONTCARE);
    const std::wstring family = font.family.empty() ? std::wstring(kDefaultFamily) : widen(font.family);
    family.copy(description.lfFaceName, LF_FACESIZE - 1);
    HFONT made = CreateFontIndirectW(&description);
    fonts_.emplace(key, made);
    return made;
}

SIZE textExtent(HWND window, HFONT font) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size;
}

}  // namespace inkrun::win32
