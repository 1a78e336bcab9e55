#pragma once

#include <span>
#include <vector>

// Labels laid out for the font they get rather than the one they were drawn for.

namespace inkrun::ui {

// A place, or with left and top 0 a size, in whatever units the front end measures text in.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

struct FittedLayout {
    std::vector<Box> places;  // one for each label, in the order given
    int width = 0;            // of the client area
    int height = 0;
};

// Where labels go when their text needs more room than the design gives (a larger desktop font):
// each takes the size its text needs, and never less than its described place. One that grows
// taller than the room below it moves the labels below (those it overlaps side to side) down by
// as much as it reaches into them; the client area grows as much as the labels reach beyond the
// rightmost and lowest described edges, so the margins stay. Text that fits leaves every label
// where it is described and the client area as it is.
// `needed` holds one size for each place of `described`.
FittedLayout fitToText(std::span<const Box> described, std::span<const Box> needed, int width, int height);

}  // namespace inkrun::ui
