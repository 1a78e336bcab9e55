#include "frontends/qt/frm_main_inkrun.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QToolButton>

#include "commands/command_frame.h"
#include "commands/help_command.h"
#include "commands/startup.h"
#include "commands/window_description.h"
#include "frontends/qt/close_request_filter.h"
#include "frontends/qt/described_controls.h"
#include "frontends/qt/drawing_list_view.h"
#include "frontends/qt/frm_about.h"
#include "frontends/qt/icons.h"
#include "frontends/qt/twips.h"
#include "frontends/qt/qt_text.h"
#include "frontends/qt/qt_user_dialogs.h"
#include "frontends/qt/setup_editor.h"
#include "frontends/qt/single_line_box.h"
#include "drawings/drawing_selection.h"
#include "platform/file_lookup.h"
#include "platform/shell_open.h"
#include "platform/window_close.h"
#include "script/build_command.h"
#include "setup/setup_commands.h"

namespace inkrun::app {

namespace {

using HandlerSlot = void (frmMainInkrun::*)();

// The window's operation for a handler of the tables.
HandlerSlot slotFor(ui::Handler handler) {
    using H = ui::Handler;
    switch (handler) {
    case H::cmdBuildSetup_Click: return &frmMainInkrun::cmdBuildSetup_Click;
    case H::cmdClearSetup_Click: return &frmMainInkrun::cmdClearSetup_Click;
    case H::cmdOpenDrawings_Click: return &frmMainInkrun::cmdOpenDrawings_Click;
    case H::cmdOpenScript_Click: return &frmMainInkrun::cmdOpenScript_Click;
    case H::cmdSaveSetup_Click: return &frmMainInkrun::cmdSaveSetup_Click;
    case H::mnuTools_Setup1_Click: return &frmMainInkrun::mnuTools_Setup1_Click;
    case H::mnuTools_Setup2_Click: return &frmMainInkrun::mnuTools_Setup2_Click;
    case H::mnuFile_Exit_Click: return &frmMainInkrun::mnuFile_Exit_Click;
    case H::mnuFile_OpenDrawings_Click: return &frmMainInkrun::mnuFile_OpenDrawings_Click;
    case H::mnuFile_OpenScripts_Click: return &frmMainInkrun::mnuFile_OpenScripts_Click;
    case H::mnuFile_Save_Click: return &frmMainInkrun::mnuFile_Save_Click;
    case H::mnuFile_SaveAs_Click: return &frmMainInkrun::mnuFile_SaveAs_Click;
    case H::mnuHelp_About_Click: return &frmMainInkrun::mnuHelp_About_Click;
    case H::mnuHelp_HowTo_Click: return &frmMainInkrun::mnuHelp_HowTo_Click;
    case H::mnuTools_Build_Click: return &frmMainInkrun::mnuTools_Build_Click;
    case H::mnuTools_ClearSetup_Click: return &frmMainInkrun::mnuTools_ClearSetup_Click;
    case H::mnuTools_LoadDefault_Click: return &frmMainInkrun::mnuTools_LoadDefault_Click;
    case H::None: break;
    }
    return nullptr;
}

QString qtName(std::string_view name) { return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())); }

}  // namespace

frmMainInkrun::frmMainInkrun(UserDialogs* dialogs)
    : QMainWindow(nullptr, fixedWindowFlags(ui::mainWindow())),
      ownDialogs_(dialogs ? nullptr : std::make_unique<QtUserDialogs>(this)),
      dialogs_(dialogs ? dialogs : ownDialogs_.get()) {
    const ui::WindowDescription& design = ui::mainWindow();
    setObjectName(qtName(design.name));
    setWindowTitle(qtName(design.caption));
    setWindowIcon(iconFor(design.icon));
    createControls();
    createMenus();
    // A layout that stays where the table puts it must not offer to grow.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    closeRequests_ = new CloseRequestFilter(this, [this] { forceClose(); });
}

// The About window has no owner window (it stands beside the main one), so it goes with it here.
frmMainInkrun::~frmMainInkrun() { delete about_; }

void frmMainInkrun::createControls() {
    const ui::WindowDescription& design = ui::mainWindow();
    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(px(design.clientWidth), px(design.clientHeight));
    // The layout was drawn for an 8 point dialog font; larger desktop fonts would clip captions.
    QFont dialogFont = client->font();
    dialogFont.setPointSizeF(8);
    client->setFont(dialogFont);
    setCentralWidget(client);

    for (const ui::ControlDescription& control : design.controls) {
        QWidget* parent = control.container.empty() ? client : client->findChild<QWidget*>(qtName(control.container));
        QWidget* widget = buildControl(control, parent);
        if (!widget) continue;
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && control.handler != ui::Handler::None)
            connect(button, &QAbstractButton::clicked, this, slotFor(control.handler));
        if (control.initiallyFocused) widget->setFocus();
    }
    applyTabOrder(client, design);

    File1 = client->findChild<DrawingListView*>("File1");
    cmdBuildSetup = client->findChild<QToolButton*>("cmdBuildSetup");
    RichTextBox1 = client->findChild<SingleLineBox*>("RichTextBox1");
    Label3 = client->findChild<QLabel*>("Label3");
    RichTextBox3 = client->findChild<SetupEditor*>("RichTextBox3");
    cmdSaveSetup = client->findChild<QToolButton*>("cmdSaveSetup");
    cmdClearSetup = client->findChild<QToolButton*>("cmdClearSetup");
    Label4 = client->findChild<QLabel*>("Label4");
    Label1 = client->findChild<QLabel*>("Label1");
    lblScriptDir = client->findChild<QLabel*>("lblScriptDir");
    cmdOpenDrawings = client->findChild<QToolButton*>("cmdOpenDrawings");
    cmdOpenScript = client->findChild<QToolButton*>("cmdOpenScript");
    Label2 = client->findChild<QLabel*>("Label2");
    Label5 = client->findChild<QLabel*>("Label5");
    Frame1 = client->findChild<QGroupBox*>("Frame1");
    optSort[0] = client->findChild<QRadioButton*>("optSort(0)");
    optSort[1] = client->findChild<QRadioButton*>("optSort(1)");
    Q_ASSERT(File1 && cmdBuildSetup && RichTextBox1 && Label3 && RichTextBox3 && cmdSaveSetup && cmdClearSetup &&
             Label4 && Label1 && lblScriptDir && cmdOpenDrawings && cmdOpenScript && Label2 && Label5 && Frame1 &&
             optSort[0] && optSort[1]);
}

void frmMainInkrun::createMenus() {
    for (const ui::Menu& described : ui::mainWindow().menus) {
        QMenu* menu = menuBar()->addMenu(qtName(described.caption));
        menu->setObjectName(qtName(described.name));
        for (const ui::MenuEntry& entry : described.entries) {
            QAction* action = entry.isSeparator() ? menu->addSeparator() : menu->addAction(qtName(entry.caption));
            action->setObjectName(qtName(entry.name));
            if (const HandlerSlot slot = slotFor(entry.handler)) connect(action, &QAction::triggered, this, slot);
            if (!entry.shortcut.empty()) action->setShortcut(QKeySequence(qtName(entry.shortcut)));
        }
    }
}

// --- MainWindowState over the controls ---

std::string frmMainInkrun::drawingDirectory() const { return RichTextBox1->text(); }
void frmMainInkrun::setDrawingDirectory(const std::string& directory) { RichTextBox1->setText(directory); }
std::string frmMainInkrun::drawingListPath() const { return File1->path(); }
void frmMainInkrun::setDrawingListPath(const std::string& directory) { File1->setPath(directory); }
std::vector<std::string> frmMainInkrun::drawingListEntries() const { return File1->entries(); }
std::vector<std::string> frmMainInkrun::selectedDrawings() const { return File1->selectedEntries(); }
void frmMainInkrun::markDrawings(const std::unordered_set<std::string>& names) { File1->markEntries(names); }
bool frmMainInkrun::descendingOrder() const { return optSort[0]->isChecked(); }
std::string frmMainInkrun::setupText() const { return RichTextBox3->text(); }
void frmMainInkrun::setSetupText(const std::string& text) { RichTextBox3->setText(text); }
std::string frmMainInkrun::setupPath() const { return fromQt(lblScriptDir->text()); }
void frmMainInkrun::setSetupPath(const std::string& path) { lblScriptDir->setText(toQt(path)); }

// The opener may live as long as the browser it starts, so the window does not wait for it: a
// refusal it reports later is shown then, with the same message as one known at once.
int frmMainInkrun::OpenDocument(const std::string& DocName) {
    QPointer<frmMainInkrun> window(this);
    return platform::startOpeningDocument(DocName, [window](int result) {
        QMetaObject::invokeMethod(qApp, [window, result] {
            if (window) reportShellResult(result, window->dialogs());
        }, Qt::QueuedConnection);
    });
}
bool frmMainInkrun::DirExists(const std::string& path) const { return platform::dirExists(path); }

// --- Command handlers ---

void frmMainInkrun::CheckCommandError() { checkCommandError(pendingError_, dialogs()); }

void frmMainInkrun::Form_Load() {
    trapped([&] {
        settings_ = settingsOfCurrentDirectory();
        restoreStartState(*this, settings_);
    });
    mnuTools_Setup1_Click();
}

void frmMainInkrun::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmMainInkrun::Form_Unload() {
    platform::closeWindowByTitle(kHelpWindowTitle);
    if (about_) about_->close();
    QCoreApplication::quit();
}

// A second copy asked this one to close while a dialog or message box shows. Each is dismissed
// as with Escape, innermost first, so its command ends as on a cancel and writes nothing more;
// then the ordinary shutdown runs.
void frmMainInkrun::forceClose() {
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) break;
        modal->close();
        if (modal->isVisible()) modal->hide();
    }
    Form_Unload();
}

void frmMainInkrun::mnuFile_Exit_Click() { QCoreApplication::exit(0); }

void frmMainInkrun::cmdBuildSetup_Click() {
    trapped([&] { script::buildInkrunScript(*this, dialogs(), settings_); });
}

void frmMainInkrun::mnuFile_OpenDrawings_Click() {
    trapped([&] { drawings::openDrawingFiles(*this, dialogs(), settings_); });
}

void frmMainInkrun::cmdClearSetup_Click() {
    trapped([&] { setup::clearSetup(*this); });
}

void frmMainInkrun::mnuTools_Setup1_Click() {
    trapped([&] { setup::loadSetupSlot(*this, settings_, 1); });
}

void frmMainInkrun::mnuTools_Setup2_Click() {
    trapped([&] { setup::loadSetupSlot(*this, settings_, 2); });
}

void frmMainInkrun::mnuTools_LoadDefault_Click() {
    trapped([&] { setup::loadDefaultSetup(*this); });
}

void frmMainInkrun::mnuFile_OpenScripts_Click() {
    trapped([&] { setup::openSetupFile(*this, dialogs()); });
}

void frmMainInkrun::cmdSaveSetup_Click() {
    trapped([&] { setup::saveSetup(*this, dialogs()); });
}

void frmMainInkrun::mnuFile_SaveAs_Click() {
    trapped([&] { setup::saveSetupAs(*this, dialogs()); });
}

void frmMainInkrun::mnuHelp_HowTo_Click() {
    showHelp(settings_, dialogs(), [](const std::string& title) { platform::closeWindowByTitle(title); },
             [this](const std::string& path) { return OpenDocument(path); });
}

void frmMainInkrun::mnuHelp_About_Click() {
    trapped([&] {
        if (!about_) {
            about_ = new frmAbout();
            connect(about_, &QObject::destroyed, this, [this] { about_ = nullptr; });
        }
        about_->show();
        about_->raise();
        about_->activateWindow();
    });
}

// The delegating handlers: one call each, nothing before or after.
void frmMainInkrun::cmdOpenDrawings_Click() { mnuFile_OpenDrawings_Click(); }
void frmMainInkrun::cmdOpenScript_Click() { mnuFile_OpenScripts_Click(); }
void frmMainInkrun::mnuFile_Save_Click() { cmdSaveSetup_Click(); }
void frmMainInkrun::mnuTools_Build_Click() { cmdBuildSetup_Click(); }
void frmMainInkrun::mnuTools_ClearSetup_Click() { cmdClearSetup_Click(); }

}  // namespace inkrun::app
