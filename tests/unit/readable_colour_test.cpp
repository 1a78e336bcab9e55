#include "model/readable_colour.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace inkrun::ui {
namespace {

constexpr std::uint32_t kMakersBlue = 0x0000C0;

unsigned channel(std::uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

TEST(ReadableColour, ContrastIsMeasuredAsWcagMeasuresIt) {
    EXPECT_DOUBLE_EQ(contrastRatio(0xFFFFFF, 0x000000), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(0x000000, 0xFFFFFF), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(0x777777, 0x777777), 1.0);
    EXPECT_NEAR(contrastRatio(0x767676, 0xFFFFFF), 4.54, 0.005);  // the grey that just passes on white
    EXPECT_LT(contrastRatio(kMakersBlue, 0x202020), 1.4);         // the fault: dark blue on a dark window
}

TEST(ReadableColour, TheDesignsBlueStaysOnLightPalettesAndTurnsReadableBlueOnDarkOnes) {
    // White, Windows' button face, Qt's Fusion, the classic grey.
    for (std::uint32_t light : {0xFFFFFFu, 0xF0F0F0u, 0xEFEFEFu, 0xD4D0C8u})
        EXPECT_EQ(readableColour(kMakersBlue, light), kMakersBlue);
    // Black, common dark themes, Fusion's dark window, a bluish one.
    for (std::uint32_t dark : {0x000000u, 0x202020u, 0x2D2D2Du, 0x353535u, 0x3C3F41u, 0x1E1E2Eu}) {
        SCOPED_TRACE(dark);
        const std::uint32_t colour = readableColour(kMakersBlue, dark);
        EXPECT_GE(contrastRatio(colour, dark), kReadableContrast);
        EXPECT_LT(contrastRatio(colour, dark), 7.0) << "lightened far beyond what reading needs";
        EXPECT_GT(channel(colour, 0), channel(colour, 16)) << "no longer blue";
        EXPECT_GT(channel(colour, 0), channel(colour, 8)) << "no longer blue";
    }
}

TEST(ReadableColour, EveryBackgroundGetsAColourThatReadsOnIt) {
    for (std::uint32_t wanted : {kMakersBlue, 0x000000u, 0xFFFFFFu, 0x808080u, 0xC00000u}) {
        for (unsigned grey = 0; grey <= 255; grey += 3) {
            const std::uint32_t background = grey << 16 | grey << 8 | grey;
            EXPECT_GE(contrastRatio(readableColour(wanted, background), background), kReadableContrast)
                << std::hex << wanted << " on " << background;
        }
        for (std::uint32_t background : {0x000080u, 0x008000u, 0x800000u, 0xFFFF00u, 0x00FFFFu}) {
            EXPECT_GE(contrastRatio(readableColour(wanted, background), background), kReadableContrast)
                << std::hex << wanted << " on " << background;
        }
    }
}

}  // namespace
}  // namespace inkrun::ui
