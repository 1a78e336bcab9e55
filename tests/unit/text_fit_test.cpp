#include "model/text_fit.h"

#include <gtest/gtest.h>

#include <vector>

namespace inkrun::ui {
namespace {

// Labels as the About window has them: a name on top, lines below it, and one more beside them.
const std::vector<Box> kDescribed{{40, 16, 257, 25}, {48, 56, 241, 25}, {48, 80, 241, 25}, {300, 56, 40, 25}};

// The name reaches 5 pixels into the line below and a line needs 300 pixels: the lines under the
// name move down 5 and keep their spacing, the label beside them stays; the window grows by as
// much as the labels reach beyond the design's rightmost and lowest edges.
TEST(TextFit, ALabelThatGrowsMovesTheLabelsBelowItAndTheWindow) {
    const std::vector<Box> needed{{0, 0, 260, 45}, {0, 0, 300, 20}, {0, 0, 100, 20}, {0, 0, 10, 30}};
    const FittedLayout layout = fitToText(kDescribed, needed, 350, 151);
    const std::vector<Box> expected{{40, 16, 260, 45}, {48, 61, 300, 25}, {48, 85, 241, 25}, {300, 56, 40, 30}};
    EXPECT_EQ(layout.places, expected);
    EXPECT_EQ(layout.width, 350 + 348 - 340);
    EXPECT_EQ(layout.height, 151 + 110 - 105);
}

}  // namespace
}  // namespace inkrun::ui
