#pragma once

#include <cstdint>

// Text colours that stay readable whatever the desktop's palette: a colour the design gives is
// kept where it stands out from the background enough, and made lighter or darker only where it
// does not (a dark palette, a high-contrast theme). Colours are 0x00RRGGBB in sRGB.
namespace inkrun::ui {

// The WCAG 2 minimum for ordinary text.
inline constexpr double kReadableContrast = 4.5;

// The WCAG 2 contrast ratio of two colours: 1 for the same luminance, 21 for black on white.
double contrastRatio(std::uint32_t first, std::uint32_t second);

// `wanted` when it has at least `minimum` contrast with `background`; otherwise `wanted` mixed
// toward white on a dark background (toward black on a light one) just far enough to reach it.
std::uint32_t readableColour(std::uint32_t wanted, std::uint32_t background, double minimum = kReadableContrast);

}  // namespace inkrun::ui
