#include "model/readable_colour.h"

#include <algorithm>
#include <cmath>

namespace inkrun::ui {

namespace {

double linearChannel(std::uint32_t colour, int shift) {
    const double value = static_cast<double>((colour >> shift) & 0xFF) / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double relativeLuminance(std::uint32_t colour) {
    return 0.2126 * linearChannel(colour, 16) + 0.7152 * linearChannel(colour, 8) + 0.0722 * linearChannel(colour, 0);
}

// `from` moved `step` 256ths of the way to `to`, channel by channel.
std::uint32_t mixed(std::uint32_t from, std::uint32_t to, unsigned step) {
    std::uint32_t result = 0;
    for (int shift : {16, 8, 0}) {
        const unsigned a = (from >> shift) & 0xFF;
        const unsigned b = (to >> shift) & 0xFF;
        const unsigned channel = (a * (256 - step) + b * step + 128) / 256;
        result |= std::min(channel, 255u) << shift;
    }
    return result;
}

}  // namespace

double contrastRatio(std::uint32_t first, std::uint32_t second) {
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::uint32_t readableColour(std::uint32_t wanted, std::uint32_t background, double minimum) {
    if (contrastRatio(wanted, background) >= minimum) return wanted;
    constexpr std::uint32_t white = 0xFFFFFF;
    constexpr std::uint32_t black = 0x000000;
    const std::uint32_t toward = contrastRatio(white, background) >= contrastRatio(black, background) ? white : black;
    for (unsigned step = 1; step < 256; ++step) {
        const std::uint32_t candidate = mixed(wanted, toward, step);
        if (contrastRatio(candidate, background) >= minimum) return candidate;
    }
    return toward;  // a background no colour reaches the minimum on: the most contrast there is
}

}  // namespace inkrun::ui
