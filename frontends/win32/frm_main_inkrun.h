#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/main_window_commands.h"
#include "app/main_window_hooks.h"
#include "frontends/win32/control_layout.h"
#include "frontends/win32/described_controls.h"
#include "frontends/win32/drawing_list_box.h"
#include "frontends/win32/menu_bar.h"
#include "frontends/win32/win32_user_dialogs.h"
#include "frontends/win32/window_procedure.h"
#include "model/main_window_state.h"

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

    // Keyboard handling a dialog would have: the shortcuts, the keyboard rules, then the dialog
    // manager's Tab, Alt and arrows. True when the message was dealt with.
    bool preTranslate(MSG& message);

    DrawingListModel& drawingList() override { return File1_.list(); }
    const DrawingListModel& drawingList() const override { return File1_.list(); }

private:
    friend LRESULT CALLBACK windowProcedure<frmMainInkrun>(HWND, UINT, WPARAM, LPARAM);
    void attach(HWND window) { window_ = window; }
    void detach() { window_ = nullptr; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // MainWindowState, over the controls of the description.
    std::string controlText(std::string_view control) const override;
    void setControlText(std::string_view control, std::string text) override;
    bool isOptionSelected(std::string_view optionButton) const override;
    void selectOption(std::string_view optionButton) override;
    const DescribedControl& described(std::string_view name) const;

    // MainWindowHooks, in Win32's terms.
    UserDialogs& dialogs() override { return dialogs_; }
    void showAbout() override;
    void unloadWindows() override;
    void endProgram() override;
    Poster windowThread() override;

    void onCommand(int id, int code, HWND from);
    void checkOption(const DescribedControl& option);
    HWND control(std::string_view name) const { return described(name).window; }

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
