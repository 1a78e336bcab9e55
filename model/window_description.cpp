#include "model/window_description.h"

#include <algorithm>
#include <array>

namespace inkrun::ui {

namespace {

using enum ControlKind;

constexpr FontDescription kSetupFont{"Courier New", 8.25, 400, true};
constexpr FontDescription kMakerFont{"Times New Roman", 18, 700, false, 0x0000C0, false, true};

// The tables below are laid out by hand, so that an entry reads as one row.
// clang-format off
// The main window's controls in tab order. The option buttons are placed within their frame.
constexpr std::array kMainControls{
    ControlDescription{.name = "File1", .kind = FileList, .place = {840, 1440, 2895, 5355}, .tabIndex = 0,
                       .initiallyFocused = true},
    ControlDescription{.name = "cmdBuildSetup", .kind = PictureButton, .tooltip = "Build Inkrun Script",
                       .place = {3960, 1440, 615, 615}, .tabIndex = 1, .icon = IconId::Hammer,
                       .handler = Handler::cmdBuildSetup_Click},
    ControlDescription{.name = "RichTextBox1", .kind = TextBox, .caption = "Drawing Directory",
                       .place = {120, 360, 3615, 615}, .tabIndex = 2, .inactiveCaptionBackground = true,
                       .singleLine = true},
    // The scratch box of the design: the script is assembled in memory instead.
    ControlDescription{.name = "RichTextBox2", .kind = TextBox, .place = {3840, 6240, 735, 375}, .tabIndex = 3,
                       .multiLine = true, .created = false},
    ControlDescription{.name = "Label3", .kind = Label,
                       .caption = "\xC2\xA9 The Inkrun Script Builder contributors, MIT licence",
                       .place = {4560, 6840, 4935, 255}, .tabIndex = 4},
    ControlDescription{.name = "RichTextBox3", .kind = TextBox, .caption = "Script Settings",
                       .place = {4680, 1440, 4815, 5295}, .tabIndex = 5, .font = kSetupFont, .multiLine = true,
                       .scrollBars = true},
    ControlDescription{.name = "cmdSaveSetup", .kind = PictureButton, .tooltip = "Save Script Setup",
                       .place = {3960, 3600, 615, 615}, .tabIndex = 6, .icon = IconId::Diskettes,
                       .handler = Handler::cmdSaveSetup_Click},
    ControlDescription{.name = "cmdClearSetup", .kind = PictureButton, .tooltip = "Clear Setup Script",
                       .place = {3960, 2160, 615, 615}, .tabIndex = 7, .icon = IconId::Eraser,
                       .handler = Handler::cmdClearSetup_Click},
    ControlDescription{.name = "Label4", .kind = Label, .caption = "Drawing Directory:",
                       .place = {120, 0, 1455, 255}, .tabIndex = 8},
    ControlDescription{.name = "Label1", .kind = Label, .caption = "Drawing Files", .place = {840, 1080, 1935, 375},
                       .tabIndex = 9},
    ControlDescription{.name = "lblScriptDir", .kind = Label, .place = {4680, 360, 4815, 615}, .tabIndex = 10,
                       .inactiveCaptionBackground = true, .wraps = true},
    ControlDescription{.name = "cmdOpenDrawings", .kind = PictureButton, .tooltip = "Open Drawing Files",
                       .place = {120, 1560, 615, 615}, .tabIndex = 11, .icon = IconId::ClosedFolder,
                       .handler = Handler::cmdOpenDrawings_Click},
    ControlDescription{.name = "cmdOpenScript", .kind = PictureButton, .tooltip = "Open Script Setup Files",
                       .place = {3960, 2880, 615, 615}, .tabIndex = 12, .icon = IconId::OpenFolderText,
                       .handler = Handler::cmdOpenScript_Click},
    ControlDescription{.name = "Label2", .kind = Label, .caption = "Script Settings", .place = {4680, 1080, 1935, 375},
                       .tabIndex = 13},
    ControlDescription{.name = "Label5", .kind = Label, .caption = "Script Settings Directory  ",
                       .place = {4680, 0, 1935, 375}, .tabIndex = 14},
    ControlDescription{.name = "Frame1", .kind = Frame, .caption = "Sort", .place = {3810, 4560, 795, 975},
                       .tabIndex = 15},
    ControlDescription{.name = "optSort(0)", .kind = OptionButton, .caption = "dsc", .place = {120, 240, 555, 195},
                       .tabIndex = 16, .container = "Frame1", .initiallySelected = true},
    ControlDescription{.name = "optSort(1)", .kind = OptionButton, .caption = "asc", .place = {120, 600, 555, 195},
                       .tabIndex = 17, .container = "Frame1"},
};

constexpr std::array kFileMenu{
    MenuEntry{"mnuFile_OpenScripts", "&Open Script Setup", Handler::mnuFile_OpenScripts_Click},
    MenuEntry{"mnuFile_OpenDrawings", "Open &Drawing Files", Handler::mnuFile_OpenDrawings_Click},
    MenuEntry{"mnuFile_Sep1", "-"},
    MenuEntry{"mnuFile_Save", "Sa&ve Script Setup", Handler::mnuFile_Save_Click, "Ctrl+S"},
    MenuEntry{"mnuFile_SaveAs", "Sav&e Script Setup As", Handler::mnuFile_SaveAs_Click},
    MenuEntry{"mnuFile_Sep2", "-"},
    MenuEntry{"mnuFile_Exit", "E&xit", Handler::mnuFile_Exit_Click},
};

constexpr std::array kToolsMenu{
    MenuEntry{"mnuTools_Build", "&Build Inkrun Script", Handler::mnuTools_Build_Click},
    MenuEntry{"mnuTools_Sep1", "-"},
    MenuEntry{"mnuTools_Setup1", "Load Script Setup 1", Handler::mnuTools_Setup1_Click},
    MenuEntry{"mnuTools_Setup2", "Load Script Setup 2", Handler::mnuTools_Setup2_Click},
    MenuEntry{"mnuTools_LoadDefault", "Load Default Script", Handler::mnuTools_LoadDefault_Click},
    MenuEntry{"mnuTools_Sep2", "-"},
    MenuEntry{"mnuTools_ClearSetup", "Clear Setup File", Handler::mnuTools_ClearSetup_Click},
};

constexpr std::array kHelpMenu{
    MenuEntry{"mnuHelp_HowTo", "How To", Handler::mnuHelp_HowTo_Click},
    MenuEntry{"mnuHelp_Sep1", "-"},
    MenuEntry{"mnuHelp_About", "&About", Handler::mnuHelp_About_Click},
};

const std::array kMainMenus{
    Menu{"mnuFile", "&File", kFileMenu},
    Menu{"mnuTools", "&Tools", kToolsMenu},
    Menu{"mnuHelp", "&Help", kHelpMenu},
};

// The About window: four labels and the program's icon drawn at the top-left corner. The
// project has no website and no address to write to: the two lines that would give them say
// where help is and under which licence the program comes.
constexpr std::array kAboutControls{
    ControlDescription{.name = "Label2", .kind = Label, .caption = "Help: readme.htm in the settings folder",
                       .place = {720, 840, 3615, 375}, .tabIndex = 0},
    ControlDescription{.name = "Label3", .kind = Label, .caption = "Licence: MIT, free to use and to pass on",
                       .place = {720, 1200, 3615, 375}, .tabIndex = 1},
    ControlDescription{.name = "lblVersion", .kind = Label, .caption = "Version", .place = {720, 1560, 3615, 375},
                       .tabIndex = 2},
    ControlDescription{.name = "Label4", .kind = Label, .caption = "Inkrun Project", .place = {600, 240, 3855, 375},
                       .tabIndex = 3, .font = kMakerFont},
};

const WindowDescription kMainWindow{"frmMainInkrun", "Inkrun Script Builder", 9615, 7155, IconId::Program, true,
                                    kMainControls, kMainMenus};
const WindowDescription kAboutWindow{"frmAbout", "About", 5250, 2265, IconId::Information, false, kAboutControls, {}};
// clang-format on

}  // namespace

const WindowDescription& mainWindow() { return kMainWindow; }
const WindowDescription& aboutWindow() { return kAboutWindow; }

const ControlDescription* findControl(const WindowDescription& window, std::string_view name) {
    for (const ControlDescription& control : window.controls)
        if (control.name == name) return &control;
    return nullptr;
}

std::vector<const ControlDescription*> tabOrder(const WindowDescription& window) {
    std::vector<const ControlDescription*> order;
    for (const ControlDescription& control : window.controls)
        if (control.tabIndex >= 0) order.push_back(&control);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    return order;
}

}  // namespace inkrun::ui
