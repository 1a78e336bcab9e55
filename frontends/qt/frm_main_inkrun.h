#pragma once

#include <QMainWindow>
#include <memory>

#include "app/main_window_commands.h"
#include "app/main_window_hooks.h"
#include "model/main_window_state.h"
#include "model/user_dialogs.h"

class QLabel;
class QRadioButton;

namespace inkrun::qt {

class CloseRequestFilter;
class DrawingListView;
class SetupEditor;
class SingleLineBox;
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

    // MainWindowState, over the controls.
    std::string drawingDirectory() const override;
    void setDrawingDirectory(const std::string& directory) override;
    DrawingListModel& drawingList() override;
    const DrawingListModel& drawingList() const override;
    bool descendingOrder() const override;
    std::string setupText() const override;
    void setSetupText(std::string text) override;
    std::string setupPath() const override;
    void setSetupPath(const std::string& path) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
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
    SingleLineBox* RichTextBox1 = nullptr;
    SetupEditor* RichTextBox3 = nullptr;
    QLabel* lblScriptDir = nullptr;
    QRadioButton* optSort[2] = {nullptr, nullptr};
};

}  // namespace inkrun::qt
