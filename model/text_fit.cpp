#include "model/text_fit.h"

#include <algorithm>
#include <numeric>

namespace inkrun::ui {

namespace {

bool sideBySide(const Box& a, const Box& b) { return a.left < b.left + b.width && b.left < a.left + a.width; }
int bottomOf(const Box& box) { return box.top + box.height; }

}  // namespace

FittedLayout fitToText(std::span<const Box> described, std::span<const Box> needed, int width, int height) {
    const std::size_t count = described.size();
    // Top down, so that a label is moved after every label above it.
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return described[a].top < described[b].top; });

    FittedLayout layout{std::vector<Box>(count), width, height};
    int right = 0, bottom = 0, describedRight = 0, describedBottom = 0;
    for (const std::size_t i : order) {
        const Box& design = described[i];
        int moved = 0;
        for (const std::size_t above : order) {
            if (described[above].top >= design.top) break;
            if (!sideBySide(described[above], design)) continue;
            // As far down as the design lets it reach: into its own gap, or as far as the two overlap.
            const int allowed = std::max(bottomOf(described[above]), design.top);
            moved = std::max(moved, bottomOf(layout.places[above]) - allowed);
        }
        Box& place = layout.places[i];
        place = {design.left, design.top + moved, std::max(design.width, needed[i].width),
                 std::max(design.height, needed[i].height)};
        right = std::max(right, place.left + place.width);
        bottom = std::max(bottom, bottomOf(place));
        describedRight = std::max(describedRight, design.left + design.width);
        describedBottom = std::max(describedBottom, bottomOf(design));
    }
    layout.width += std::max(0, right - describedRight);
    layout.height += std::max(0, bottom - describedBottom);
    return layout;
}

}  // namespace inkrun::ui
