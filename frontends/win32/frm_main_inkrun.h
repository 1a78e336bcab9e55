#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "commands/main_window_state.h"
#include "commands/program_settings.h"
#include "commands/window_description.h"
#include "frontends/win32/win32_user_dialogs.h"
#include "frontends/win32/window_fonts.h"

namespace inkrun::win32 {

class frmAbout;

// The main window. Its controls hold the whole state of a run; every button and menu entry runs
// one handler, named after the control and its event.
class frmMainInkrun : public MainWindowState {
public:
    explicit frmMainInkrun(HINSTANCE instance);
    ~frmMainInkrun() override;
    frmMainInkrun(const frmMainInkrun&) = delete;
    frmMainInkrun& operator=(const frmMainInkrun&) = delete;

    // Creates the window, still invisible, with every control of its description.
    void create();
    void show();
    HWND handle() const { return window_; }

    // Keyboard handling a dialog would have: the accelerator, Tab, Enter, Alt and the arrows.
    // True when the message was dealt with.
    bool preTranslate(MSG& message);

    // MainWindowState, over the controls.
    std::string drawingDirectory() const override;
    void setDrawingDirectory(const std::string& directory) override;
    std::string drawingListPath() const override;
    void setDrawingListPath(const std::string& directory) override;
    std::vector<std::string> drawingListEntries() const override;
    std::vector<std::string> selectedDrawings() const override;
    void markDrawings(const std::unordered_set<std::string>& names) override;
    bool descendingOrder() const override;
    std::string setupText() const override;
    void setSetupText(const std::string& text) override;
    std::string setupPath() const override;
    void setSetupPath(const std::string& path) override;

    int OpenDocument(const std::string& DocName);
    bool DirExists(const std::string& path) const;

    void cmdBuildSetup_Click();
    void cmdClearSetup_Click();
    void cmdOpenDrawings_Click();
    void cmdOpenScript_Click();
    void cmdSaveSetup_Click();
    void mnuTools_Setup1_Click();
    void mnuTools_Setup2_Click();
    void Form_Load();
    void Form_Unload();
    void mnuFile_Exit_Click();
    void mnuFile_OpenDrawings_Click();
    void mnuFile_OpenScripts_Click();
    void mnuFile_Save_Click();
    void mnuFile_SaveAs_Click();
    void mnuHelp_About_Click();
    void mnuHelp_HowTo_Click();
    void mnuTools_Build_Click();
    void mnuTools_ClearSetup_Click();
    void mnuTools_LoadDefault_Click();
    void CheckCommandError();

private:
    struct Control {
        const ui::ControlDescription* description;
        HWND window;
    };

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void createMenu();
    void applyDpi(UINT dpi);
    void run(ui::Handler handler);
    void onCommand(int id, int code, HWND from);
    void moveFocus(bool backwards);
    void selectOrderOption(HWND option);
    HWND control(std::string_view name) const;
    HWND optSort(int index) const;
    bool isPictureButton(HWND window) const;
    LRESULT paintInactiveCaption(HDC dc);

    // The frame of a trapped handler: run the body, keep what it threw, report at the exit point.
    template <typename Body>
    void trapped(Body&& body) {
        std::exception_ptr outer = std::exchange(pendingError_, nullptr);
        try {
            std::forward<Body>(body)();
        } catch (...) {
            pendingError_ = std::current_exception();
        }
        CheckCommandError();
        pendingError_ = outer;
    }

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND tooltips_ = nullptr;
    HWND lastFocus_ = nullptr;
    HACCEL accelerators_ = nullptr;
    UINT dpi_ = 96;
    WindowFonts fonts_;
    HBRUSH inactiveCaptionBrush_ = nullptr;
    std::vector<Control> controls_;
    std::vector<HICON> buttonIcons_;
    std::vector<std::string> entries_;  // the drawing list's names, in list order
    std::string listPath_;
    Win32UserDialogs dialogs_;
    ProgramSettings settings_;
    std::exception_ptr pendingError_;
    std::unique_ptr<frmAbout> about_;
};

}  // namespace inkrun::win32
