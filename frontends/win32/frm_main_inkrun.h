#pragma once

#include <memory>
#include <string>

#include "app/main_window_commands.h"
#include "app/main_window_hooks.h"
#include "model/main_window_state.h"
#include "frontends/win32/control_layout.h"
#include "frontends/win32/described_controls.h"
#include "frontends/win32/drawing_list_box.h"
#include "frontends/win32/menu_bar.h"
#include "frontends/win32/win32_user_dialogs.h"
#include "frontends/win32/window_procedure.h"

namespace inkrun::win32 {

class frmAbout;

// The main window. Its controls hold the whole state of a run; every button and menu entry runs
// one handler of MainWindowCommands, named after the control and its event.
class frmMainInkrun : public MainWindowState, private MainWindowHooks, public MainWindowCommands {
public:
    explicit frmMainInkrun(HINSTANCE instance);
    ~frmMainInkrun() override;
    frmMainInkrun(const frmMainInkrun&) = delete;
    frmMainInkrun& operator=(const frmMainInkrun&) = delete;

    // Creates the window, still invisible, with every control of its description.
    void create();
    void show();
    HWND handle() const { return window_; }

    // Keyboard handling a dialog would have: the shortcuts, the keyboard rules, then the dialog
    // manager's Tab, Alt and arrows. True when the message was dealt with.
    bool preTranslate(MSG& message);

    // MainWindowState, over the controls.
    std::string drawingDirectory() const override;
    void setDrawingDirectory(const std::string& directory) override;
    DrawingListModel& drawingList() override { return File1_.list(); }
    const DrawingListModel& drawingList() const override { return File1_.list(); }
    bool descendingOrder() const override;
    std::string setupText() const override;
    void setSetupText(std::string text) override;
    std::string setupPath() const override;
    void setSetupPath(const std::string& path) override;

private:
    friend LRESULT CALLBACK windowProcedure<frmMainInkrun>(HWND, UINT, WPARAM, LPARAM);
    void attach(HWND window) { window_ = window; }
    void detach() { window_ = nullptr; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // MainWindowHooks, in Win32's terms.
    UserDialogs& dialogs() override { return dialogs_; }
    void showAbout() override;
    void unloadWindows() override;
    void endProgram() override;
    Poster windowThread() override;

    void onCommand(int id, int code, HWND from);
    void selectOrderOption(HWND option);
    HWND control(std::string_view name) const { return controls_.window(name); }

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND lastFocus_ = nullptr;
    DescribedControls controls_;
    ControlLayout layout_;
    MenuBar menu_;
    DrawingListBox File1_;
    Win32UserDialogs dialogs_;
    std::unique_ptr<frmAbout> about_;
};

}  // namespace inkrun::win32
