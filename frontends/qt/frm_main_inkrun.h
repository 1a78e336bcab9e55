#pragma once

#include <QMainWindow>
#include <exception>
#include <memory>
#include <utility>

#include "commands/main_window_state.h"
#include "commands/program_settings.h"
#include "commands/user_dialogs.h"

class QAction;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QToolButton;

namespace inkrun::app {

class CloseRequestFilter;
class DrawingListView;
class SetupEditor;
class SingleLineBox;
class frmAbout;

// The main window. Its controls hold the whole state of a run; every button and menu entry runs
// one handler, named after the control and its event.
class frmMainInkrun : public QMainWindow, public MainWindowState {
    Q_OBJECT
public:
    // `dialogs` answers message boxes and file dialogs; the window's own Qt dialogs when null.
    explicit frmMainInkrun(UserDialogs* dialogs = nullptr);
    ~frmMainInkrun() override;

    const ProgramSettings& settings() const { return settings_; }
    frmAbout* aboutWindow() const { return about_; }

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

public slots:
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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createMenus();
    UserDialogs& dialogs() { return *dialogs_; }
    // Closes the window while a modal dialog or message box shows, dismissing them first.
    void forceClose();

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

    std::unique_ptr<UserDialogs> ownDialogs_;
    UserDialogs* dialogs_;
    ProgramSettings settings_;
    std::exception_ptr pendingError_;
    frmAbout* about_ = nullptr;
    CloseRequestFilter* closeRequests_ = nullptr;

    DrawingListView* File1 = nullptr;
    QToolButton* cmdBuildSetup = nullptr;
    SingleLineBox* RichTextBox1 = nullptr;
    QLabel* Label3 = nullptr;
    SetupEditor* RichTextBox3 = nullptr;
    QToolButton* cmdSaveSetup = nullptr;
    QToolButton* cmdClearSetup = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblScriptDir = nullptr;
    QToolButton* cmdOpenDrawings = nullptr;
    QToolButton* cmdOpenScript = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* optSort[2] = {nullptr, nullptr};
};

}  // namespace inkrun::app
