#include "frontends/qt/frm_main_inkrun.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolButton>

#include "commands/command_frame.h"
#include "commands/help_command.h"
#include "commands/startup.h"
#include "frontends/qt/drawing_list_view.h"
#include "frontends/qt/frm_about.h"
#include "frontends/qt/icons.h"
#include "frontends/qt/twips.h"
#include "frontends/qt/qt_text.h"
#include "frontends/qt/qt_user_dialogs.h"
#include "frontends/qt/setup_editor.h"
#include "drawings/drawing_selection.h"
#include "platform/file_lookup.h"
#include "platform/shell_open.h"
#include "platform/window_close.h"
#include "script/build_command.h"
#include "setup/setup_commands.h"

namespace inkrun::app {

namespace {

QRect twips(int left, int top, int width, int height) { return {px(left), px(top), px(width), px(height)}; }

QToolButton* pictureButton(QWidget* parent, const char* name, const QIcon& icon, const char* tooltip, QRect where) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setIconSize(QSize(32, 32));
    button->setToolTip(tooltip);
    button->setAccessibleName(tooltip);
    button->setAutoRaise(false);
    button->setGeometry(where);
    return button;
}

QLabel* label(QWidget* parent, const char* name, const char* text, QRect where) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    result->setGeometry(where);
    return result;
}

// A grey a shade darker than the window, like an inactive caption: the two boxes that show where
// things are stand out from the editable ones.
void paintInactiveCaptionBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    const QColor grey = palette.color(QPalette::Window).darker(112);
    palette.setColor(QPalette::Base, grey);
    palette.setColor(QPalette::Window, grey);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFont setupFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(8.25);
    font.setStyleHint(QFont::Monospace);
    if (QFontInfo(font).family() != QLatin1String("Courier New")) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSizeF(8.25);
    }
    return font;
}

}  // namespace

frmMainInkrun::frmMainInkrun(UserDialogs* dialogs)
    : ownDialogs_(dialogs ? nullptr : std::make_unique<QtUserDialogs>(this)),
      dialogs_(dialogs ? dialogs : ownDialogs_.get()) {
    setObjectName("frmMainInkrun");
    setWindowTitle(kMainWindowTitle);
    setWindowIcon(applicationIcon());
    createControls();
    createMenus();
}

// The About window has no owner window (it stands beside the main one), so it goes with it here.
frmMainInkrun::~frmMainInkrun() { delete about_; }

void frmMainInkrun::createControls() {
    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(px(9615), px(7155));
    // The layout was drawn for an 8 point dialog font; larger desktop fonts would clip captions.
    QFont dialogFont = client->font();
    dialogFont.setPointSizeF(8);
    client->setFont(dialogFont);
    setCentralWidget(client);

    File1 = new DrawingListView(client);
    File1->setObjectName("File1");
    File1->setGeometry(twips(840, 1440, 2895, 5355));

    cmdBuildSetup = pictureButton(client, "cmdBuildSetup", hammerIcon(), "Build Inkrun Script", twips(3960, 1440, 615, 615));

    RichTextBox1 = new QPlainTextEdit(client);
    RichTextBox1->setObjectName("RichTextBox1");
    RichTextBox1->setGeometry(twips(120, 360, 3615, 615));
    RichTextBox1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    RichTextBox1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    RichTextBox1->setTabChangesFocus(true);
    RichTextBox1->setAccessibleName("Drawing Directory");
    paintInactiveCaptionBackground(RichTextBox1);

    Label3 = label(client, "Label3", "\xC2\xA9 The Inkrun Script Builder contributors, MIT licence",
                   twips(4560, 6840, 4935, 255));

    RichTextBox3 = new SetupEditor(client);
    RichTextBox3->setObjectName("RichTextBox3");
    RichTextBox3->setGeometry(twips(4680, 1440, 4815, 5295));
    RichTextBox3->setFont(setupFont());
    // Setup lines are command answers: never wrapped, scrolled sideways instead.
    RichTextBox3->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichTextBox3->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RichTextBox3->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RichTextBox3->setAccessibleName("Script Settings");

    cmdSaveSetup = pictureButton(client, "cmdSaveSetup", diskettesIcon(), "Save Script Setup", twips(3960, 3600, 615, 615));
    cmdClearSetup = pictureButton(client, "cmdClearSetup", eraserIcon(), "Clear Setup Script", twips(3960, 2160, 615, 615));
    Label4 = label(client, "Label4", "Drawing Directory:", twips(120, 0, 1455, 255));
    Label1 = label(client, "Label1", "Drawing Files", twips(840, 1080, 1935, 375));

    lblScriptDir = label(client, "lblScriptDir", "", twips(4680, 360, 4815, 615));
    lblScriptDir->setWordWrap(true);
    lblScriptDir->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblScriptDir->setTextFormat(Qt::PlainText);
    lblScriptDir->setTextInteractionFlags(Qt::TextSelectableByMouse);
    paintInactiveCaptionBackground(lblScriptDir);

    cmdOpenDrawings = pictureButton(client, "cmdOpenDrawings", closedFolderIcon(), "Open Drawing Files", twips(120, 1560, 615, 615));
    cmdOpenScript = pictureButton(client, "cmdOpenScript", openFolderTextIcon(), "Open Script Setup Files", twips(3960, 2880, 615, 615));
    Label2 = label(client, "Label2", "Script Settings", twips(4680, 1080, 1935, 375));
    Label5 = label(client, "Label5", "Script Settings Directory  ", twips(4680, 0, 1935, 375));

    Frame1 = new QGroupBox("Sort", client);
    Frame1->setObjectName("Frame1");
    Frame1->setGeometry(twips(3810, 4560, 795, 975));
    optSort[0] = new QRadioButton("dsc", Frame1);
    optSort[0]->setObjectName("optSort0");
    optSort[0]->setGeometry(twips(120, 240, 555, 195).adjusted(0, -2, 0, 3));
    optSort[1] = new QRadioButton("asc", Frame1);
    optSort[1]->setObjectName("optSort1");
    optSort[1]->setGeometry(twips(120, 600, 555, 195).adjusted(0, -2, 0, 3));
    optSort[0]->setChecked(true);

    // A caption that the desktop's font makes wider than its place grows to the right rather than
    // being cut off.
    for (QWidget* caption : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                             static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label4),
                             static_cast<QWidget*>(Label5), static_cast<QWidget*>(optSort[0]),
                             static_cast<QWidget*>(optSort[1])}) {
        const int wanted = caption->sizeHint().width();
        const int room = caption->parentWidget()->width() - caption->x();
        if (wanted > caption->width()) caption->resize(std::min(wanted, room), caption->height());
    }

    QWidget* tabOrder[] = {File1, cmdBuildSetup, RichTextBox1, RichTextBox3, cmdSaveSetup, cmdClearSetup,
                           cmdOpenDrawings, cmdOpenScript, optSort[0], optSort[1]};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
    File1->setFocus();

    connect(cmdBuildSetup, &QToolButton::clicked, this, &frmMainInkrun::cmdBuildSetup_Click);
    connect(cmdClearSetup, &QToolButton::clicked, this, &frmMainInkrun::cmdClearSetup_Click);
    connect(cmdOpenDrawings, &QToolButton::clicked, this, &frmMainInkrun::cmdOpenDrawings_Click);
    connect(cmdOpenScript, &QToolButton::clicked, this, &frmMainInkrun::cmdOpenScript_Click);
    connect(cmdSaveSetup, &QToolButton::clicked, this, &frmMainInkrun::cmdSaveSetup_Click);
}

void frmMainInkrun::createMenus() {
    struct Entry {
        const char* name;
        const char* caption;
        void (frmMainInkrun::*handler)();
    };
    auto fill = [this](const char* menuName, const char* caption, std::initializer_list<Entry> entries) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(menuName);
        for (const Entry& entry : entries) {
            QAction* action = entry.handler ? menu->addAction(entry.caption) : menu->addSeparator();
            action->setObjectName(entry.name);
            if (entry.handler) connect(action, &QAction::triggered, this, entry.handler);
        }
        return menu;
    };
    fill("mnuFile", "&File",
         {{"mnuFile_OpenScripts", "&Open Script Setup", &frmMainInkrun::mnuFile_OpenScripts_Click},
          {"mnuFile_OpenDrawings", "Open &Drawing Files", &frmMainInkrun::mnuFile_OpenDrawings_Click},
          {"mnuFile_Sep1", "-", nullptr},
          {"mnuFile_Save", "Sa&ve Script Setup", &frmMainInkrun::mnuFile_Save_Click},
          {"mnuFile_SaveAs", "Sav&e Script Setup As", &frmMainInkrun::mnuFile_SaveAs_Click},
          {"mnuFile_Sep2", "-", nullptr},
          {"mnuFile_Exit", "E&xit", &frmMainInkrun::mnuFile_Exit_Click}});
    fill("mnuTools", "&Tools",
         {{"mnuTools_Build", "&Build Inkrun Script", &frmMainInkrun::mnuTools_Build_Click},
          {"mnuTools_Sep1", "-", nullptr},
          {"mnuTools_Setup1", "Load Script Setup 1", &frmMainInkrun::mnuTools_Setup1_Click},
          {"mnuTools_Setup2", "Load Script Setup 2", &frmMainInkrun::mnuTools_Setup2_Click},
          {"mnuTools_LoadDefault", "Load Default Script", &frmMainInkrun::mnuTools_LoadDefault_Click},
          {"mnuTools_Sep2", "-", nullptr},
          {"mnuTools_ClearSetup", "Clear Setup File", &frmMainInkrun::mnuTools_ClearSetup_Click}});
    fill("mnuHelp", "&Help",
         {{"mnuHelp_HowTo", "How To", &frmMainInkrun::mnuHelp_HowTo_Click},
          {"mnuHelp_Sep1", "-", nullptr},
          {"mnuHelp_About", "&About", &frmMainInkrun::mnuHelp_About_Click}});
    findChild<QAction*>("mnuFile_Save")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
}

// --- MainWindowState over the controls ---

std::string frmMainInkrun::drawingDirectory() const { return fromQt(RichTextBox1->toPlainText()); }
void frmMainInkrun::setDrawingDirectory(const std::string& directory) { RichTextBox1->setPlainText(toQt(directory)); }
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

int frmMainInkrun::OpenDocument(const std::string& DocName) { return platform::openDocument(DocName); }
bool frmMainInkrun::DirExists(const std::string& path) const { return platform::dirExists(path); }

// --- Command handlers ---

void frmMainInkrun::CheckCommandError() { checkCommandError(pendingError_, dialogs()); }

void frmMainInkrun::Form_Load() {
    trapped([&] {
        settings_ = startupSettings(platform::currentDirectory());
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
