#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/handlers.h"

// The two windows as data: every control with its kind, caption, place in twips, tab order and
// font, the menu tree, and the About window. Each front end builds its widgets from these tables,
// so the Linux and the Windows window cannot drift apart.

namespace inkrun::ui {

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// What each kind must do in both windows, beyond its fields:
//   Label        text at the top left of its place, never centred; a font that needs more room
//                than the place gives makes the place grow right and down, within the window,
//                rather than clip the text.
//   PictureButton  Space and Enter press it while it has the focus.
//   TextBox      Tab and Ctrl+Tab move on, Shift+Tab back (keyboard_rules.h); no tab is typed.
//   Frame        its caption and its option buttons never overlap.
//   OptionButton the buttons of one frame form one group and one tab stop, entered at the
//                selected button; the arrow keys move the selection within the group.
enum class ControlKind { FileList, PictureButton, TextBox, Label, Frame, OptionButton };

enum class IconId { None, Hammer, Diskettes, Eraser, ClosedFolder, OpenFolderText, Program, Information };

struct FontDescription {
    std::string_view family{};  // empty: the window's default font
    double points = 0;          // 0: the default size
    int weight = 400;           // 700 is bold
    bool fixedPitch = false;    // a font of fixed pitch is what matters: when the family is not
                                // installed (or a stand-in of another pitch is offered), take any
                                // fixed-pitch font of the system rather than a proportional one
    std::uint32_t color = 0;    // 0x00RRGGBB text colour; 0 with defaultColor for the theme's own
    bool defaultColor = true;
    bool serif = false;  // where the family is missing, a serif face of the system stands in
};

struct ControlDescription {
    std::string_view name{};  // the control's name: "File1", "optSort(0)"
    ControlKind kind = ControlKind::Label;
    std::string_view caption{};    // a label's or frame's text, an option button's caption
    std::string_view tooltip{};    // picture buttons only
    TwipsRect place{};             // relative to the client area, or to `container`
    int tabIndex = -1;             // -1: takes no part in the tab order
    std::string_view container{};  // empty: the client area; else the frame that holds it
    IconId icon = IconId::None;
    Handler handler = Handler::None;
    FontDescription font{};
    bool inactiveCaptionBackground = false;  // COLOR_INACTIVECAPTIONTEXT behind it
    bool multiLine = false;
    bool scrollBars = false;  // horizontal and vertical
    bool singleLine = false;  // no line break can be typed or pasted; Enter types nothing
    bool wraps = false;       // a label whose long text breaks into lines within its place
    bool created = true;      // false: in the design only (the hidden scratch box)
    bool initiallyFocused = false;
    bool initiallySelected = false;  // option buttons
};

struct MenuEntry {
    std::string_view name{};     // "mnuFile_Save"
    std::string_view caption{};  // "Sa&ve Script Setup"; "-" for a separator
    Handler handler = Handler::None;
    std::string_view shortcut{};  // "Ctrl+S"
    bool isSeparator() const { return caption == "-"; }
};

struct Menu {
    std::string_view name;     // "mnuFile"
    std::string_view caption;  // "&File"
    std::span<const MenuEntry> entries;
};

struct WindowDescription {
    std::string_view name;     // "frmMainInkrun"
    std::string_view caption;  // "Inkrun Script Builder"
    int clientWidth;           // twips
    int clientHeight;
    IconId icon;
    // Both windows are fixed-size: no maximize button, no resizing border, nothing that would
    // offer to grow a layout that stays where the tables put it.
    bool minimizeButton;
    std::span<const ControlDescription> controls;  // in tab order where they have one
    std::span<const Menu> menus;
};

const WindowDescription& mainWindow();

// A setup longer than this many characters goes into the setup box in pieces of that size,
// behind a progress box with this text: laying out megabytes takes the text control seconds.
inline constexpr std::size_t kSetupLoadPiece = std::size_t{1} << 20;
inline constexpr std::string_view kSetupLoadingText = "Loading the script setup\xE2\x80\xA6";
const WindowDescription& aboutWindow();

// A control of a window by its name; nullptr when there is none.
const ControlDescription* findControl(const WindowDescription& window, std::string_view name);

// The controls that take part in the tab order, in that order.
std::vector<const ControlDescription*> tabOrder(const WindowDescription& window);

// Pixels for twips (1/1440 inch) at a given DPI, rounded to the nearest pixel.
constexpr int twipsToPixels(int twips, int dpi = 96) { return (twips * dpi + 720) / 1440; }

}  // namespace inkrun::ui
