#pragma once

// The handlers a control or menu entry can run, each named once, as the main window's own
// operation (MainWindowCommands): the list makes the ui::Handler that the window description
// gives a control, and the operation's declaration and dispatch in the application layer. A new
// command is a line here, its entry in the description and its operation's body.
#define INKRUN_HANDLERS(HANDLER)        \
    HANDLER(cmdBuildSetup_Click)        \
    HANDLER(cmdClearSetup_Click)        \
    HANDLER(cmdOpenDrawings_Click)      \
    HANDLER(cmdOpenScript_Click)        \
    HANDLER(cmdSaveSetup_Click)         \
    HANDLER(mnuTools_Setup1_Click)      \
    HANDLER(mnuTools_Setup2_Click)      \
    HANDLER(mnuFile_Exit_Click)         \
    HANDLER(mnuFile_OpenDrawings_Click) \
    HANDLER(mnuFile_OpenScripts_Click)  \
    HANDLER(mnuFile_Save_Click)         \
    HANDLER(mnuFile_SaveAs_Click)       \
    HANDLER(mnuHelp_About_Click)        \
    HANDLER(mnuHelp_HowTo_Click)        \
    HANDLER(mnuTools_Build_Click)       \
    HANDLER(mnuTools_ClearSetup_Click)  \
    HANDLER(mnuTools_LoadDefault_Click)

namespace inkrun::ui {

// clang-format off
enum class Handler {
    None,
#define INKRUN_HANDLER_VALUE(name) name,
    INKRUN_HANDLERS(INKRUN_HANDLER_VALUE)
#undef INKRUN_HANDLER_VALUE
    Count,  // one past the last handler: stays last
};
// clang-format on

}  // namespace inkrun::ui
