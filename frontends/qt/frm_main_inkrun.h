#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <string_view>

#include "app/main_window_commands.h"
#include "app/main_window_hooks.h"
#include "model/main_window_state.h"
#include "model/user_dialogs.h"

namespace inkrun::qt {

class CloseRequestFilter;
class DrawingListView;
class frmAbout;

// The main window. Its controls hold the whole state of a run; every button and menu entry runs
// one handler of MainWindowCommands, named after the control and its event.
class frmMainInkrun : public QMainWindow, public MainWindowState, private MainWindowHooks, public MainWindowCommands {
    Q_OBJECT
public:
    // `dialogs` answers message boxes and file dialogs; the window's own Qt dialogs when null.
    explicit frmMainInkrun(UserDialogs* dialogs = nullptr);
    ~frmMainInkrun() override;

    frmAbout* aboutWindow() const { return about_; }

    DrawingListModel& drawingList() override;
    const DrawingListModel& drawingList() const override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // MainWindowState, over the controls of the description.
    std::string controlText(std::string_view control) const override;
    void setControlText(std::string_view control, std::string text) override;
    bool isOptionSelected(std::string_view optionButton) const override;
    void selectOption(std::string_view optionButton) override;
    QWidget* control(std::string_view name) const;

    // MainWindowHooks, in Qt's terms.
    UserDialogs& dialogs() override { return *dialogs_; }
    void showAbout() override;
    void unloadWindows() override;
    void endProgram() override;
    Poster windowThread() override;

    void createControls();
    // Closes the window while a modal dialog or message box shows, dismissing them first.
    void forceClose();

    std::unique_ptr<UserDialogs> ownDialogs_;
    UserDialogs* dialogs_;
    frmAbout* about_ = nullptr;
    CloseRequestFilter* closeRequests_ = nullptr;

    DrawingListView* File1 = nullptr;
};

}  // namespace inkrun::qt
