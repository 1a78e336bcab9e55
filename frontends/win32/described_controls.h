#pragma once

#include <string_view>
#include <vector>

#include "model/window_description.h"
#include "platform/windows_api.h"

namespace inkrun::win32 {

struct DescribedControl {
    const ui::ControlDescription* description;
    HWND window;
};

// A window's controls made from its description (model/window_description.h), with the
// tooltips of its picture buttons.
class DescribedControls {
public:
    // Creates every control the description creates, in table order, which is the tab order:
    // the dialog manager walks the z-order.
    void create(HWND parent, HINSTANCE instance, const ui::WindowDescription& window);

    const std::vector<DescribedControl>& all() const { return controls_; }
    HWND window(std::string_view name) const;
    // The control that `window` is; nullptr for any other window.
    const DescribedControl* find(HWND window) const;
    HWND tooltips() const { return tooltips_; }

private:
    std::vector<DescribedControl> controls_;
    HWND tooltips_ = nullptr;
};

}  // namespace inkrun::win32
