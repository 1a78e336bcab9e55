// modInkrun: the program's entry.
#include <QApplication>
#include <QPointer>
#include <cstdio>
#include <string>
#include <vector>

#include "app/program_arguments.h"
#include "frontends/qt/frm_main_inkrun.h"
#include "inkrun_identity.h"
#include "inkrun_version.h"
#include "model/program_settings.h"
#include "platform/window_close.h"

namespace {

// The one main window of this copy of the program.
QPointer<inkrun::qt::frmMainInkrun> mainWindow;

int Main() {
    // Another copy already running is asked to close; its own shutdown runs there. Only a window
    // of this program: another program's window may carry the same title.
    inkrun::platform::closeWindowByTitleAndClass(inkrun::kMainWindowTitle, inkrun::kMainWindowClass);
    mainWindow = new inkrun::qt::frmMainInkrun();
    mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    mainWindow->Form_Load();
    mainWindow->show();
    const int result = QApplication::exec();
    delete mainWindow.data();
    return result;
}

// --help and --version, and a refusal of anything else, on the terminal: before Qt looks for a
// display, so they work without one, and before any running copy is asked to close.
int answerOnTheTerminal(const inkrun::ProgramArguments& request) {
    using Action = inkrun::ProgramArguments::Action;
    std::FILE* out = request.action == Action::Answer ? stdout : stderr;
    const bool told = std::fputs(request.text.c_str(), out) >= 0 && std::fflush(out) == 0;
    return told || request.exitStatus != 0 ? request.exitStatus : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    const inkrun::ProgramArguments request = inkrun::readProgramArguments(
        std::vector<std::string>(argv + 1, argv + argc));
    if (request.action != inkrun::ProgramArguments::Action::OpenWindow) return answerOnTheTerminal(request);

    QApplication application(argc, argv);
    // The class half of X11's WM_CLASS, by which a second copy knows this window for ours.
    QApplication::setApplicationName(inkrun::kMainWindowClass);
    QApplication::setApplicationVersion(inkrun::kVersionText);
    // Wayland's app id: the desktop shows the menu entry's icon and groups the windows under it.
    QGuiApplication::setDesktopFileName(inkrun::kApplicationId);
    return Main();
}
