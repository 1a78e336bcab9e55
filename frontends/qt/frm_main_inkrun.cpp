#include "frontends/qt/frm_main_inkrun.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QRadioButton>
#include <stdexcept>

#include "frontends/qt/close_request_filter.h"
#include "frontends/qt/described_controls.h"
#include "frontends/qt/described_menus.h"
#include "frontends/qt/drawing_list_view.h"
#include "frontends/qt/frm_about.h"
#include "frontends/qt/qt_text.h"
#include "frontends/qt/qt_user_dialogs.h"
#include "frontends/qt/session_end.h"
#include "frontends/qt/setup_editor.h"
#include "frontends/qt/single_line_box.h"
#include "frontends/qt/twips.h"
#include "model/window_description.h"

namespace inkrun::qt {

frmMainInkrun::frmMainInkrun(UserDialogs* dialogs)
    : QMainWindow(nullptr, fixedWindowFlags(ui::mainWindow())),
      MainWindowCommands(static_cast<MainWindowState&>(*this), static_cast<MainWindowHooks&>(*this)),
      ownDialogs_(dialogs ? nullptr : std::make_unique<QtUserDialogs>(this)),
      dialogs_(dialogs ? dialogs : ownDialogs_.get()) {
    const ui::WindowDescription& design = ui::mainWindow();
    setObjectName(qtName(design.name));
    setWindowTitle(qtName(design.caption));
    setWindowIcon(iconFor(design.icon));
    createControls();
    buildMenus(menuBar(), design, [this](ui::Handler handler) { run(handler); });
    // A layout that stays where the table puts it must not offer to grow.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    closeRequests_ = new CloseRequestFilter(this, [this] { forceClose(); });
    new SessionEnd(
        this, [this] { forceClose(); }, [this] { keepUnsavedSetup(); });
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
            connect(button, &QAbstractButton::clicked, this, [this, handler = control.handler] { run(handler); });
        if (control.initiallyFocused) widget->setFocus();
    }
    applyTabOrder(client, design);

    File1 = client->findChild<DrawingListView*>("File1");
    Q_ASSERT(File1);
}

// --- MainWindowState over the controls ---

DrawingListModel& frmMainInkrun::drawingList() { return File1->list(); }
const DrawingListModel& frmMainInkrun::drawingList() const { return File1->list(); }

QWidget* frmMainInkrun::control(std::string_view name) const {
    if (auto* widget = centralWidget()->findChild<QWidget*>(qtName(name))) return widget;
    throw std::logic_error("the main window has no such control as " + std::string(name));
}

// Each kind of text control keeps its text as the commands read it: see SingleLineBox and SetupEditor.
std::string frmMainInkrun::controlText(std::string_view name) const {
    QWidget* widget = control(name);
    if (auto* box = qobject_cast<SingleLineBox*>(widget)) return box->text();
    if (auto* editor = qobject_cast<SetupEditor*>(widget)) return editor->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return fromQt(label->text());
    throw std::logic_error(std::string(name) + " holds no text");
}

void frmMainInkrun::setControlText(std::string_view name, std::string text) {
    QWidget* widget = control(name);
    if (auto* box = qobject_cast<SingleLineBox*>(widget)) box->setText(text);
    else if (auto* editor = qobject_cast<SetupEditor*>(widget)) editor->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(toQt(text));
    else throw std::logic_error(std::string(name) + " holds no text");
}

bool frmMainInkrun::isOptionSelected(std::string_view optionButton) const {
    if (auto* option = qobject_cast<QRadioButton*>(control(optionButton))) return option->isChecked();
    throw std::logic_error(std::string(optionButton) + " is no option button");
}

// The other options of the frame go off by themselves: Qt's option buttons exclude each other.
void frmMainInkrun::selectOption(std::string_view optionButton) {
    if (auto* option = qobject_cast<QRadioButton*>(control(optionButton))) option->setChecked(true);
    else throw std::logic_error(std::string(optionButton) + " is no option button");
}

// --- What the commands ask of Qt ---

void frmMainInkrun::showAbout() {
    if (!about_) {
        about_ = new frmAbout();
        connect(about_, &QObject::destroyed, this, [this] { about_ = nullptr; });
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void frmMainInkrun::unloadWindows() {
    if (about_) about_->close();
    hide();
}

void frmMainInkrun::endProgram() { QCoreApplication::exit(0); }

MainWindowHooks::Poster frmMainInkrun::windowThread() {
    return [](std::function<void()> task) {
        if (QCoreApplication* application = QCoreApplication::instance())
            QMetaObject::invokeMethod(application, std::move(task), Qt::QueuedConnection);
    };
}

void frmMainInkrun::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

// A second copy or the session's end asks this one to close, perhaps while a dialog or message
// box shows. Each is dismissed
// as with Escape, innermost first, so its command ends as on a cancel and writes nothing more;
// then the shutdown runs, asking nothing more.
void frmMainInkrun::forceClose() {
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) break;
        modal->close();
        if (modal->isVisible()) modal->hide();
    }
    closeUnasked();
}

}  // namespace inkrun::qt
