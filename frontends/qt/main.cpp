// modInkrun: the program's entry.
#include <QApplication>
#include <QPointer>

#include "commands/program_settings.h"
#include "frontends/qt/frm_main_inkrun.h"
#include "inkrun_version.h"
#include "platform/window_close.h"

namespace {

// The one main window of this copy of the program.
QPointer<inkrun::app::frmMainInkrun> mainWindow;

int Main() {
    // Another copy already running is asked to close; its own shutdown runs there.
    inkrun::platform::closeWindowByTitle(inkrun::kMainWindowTitle);
    mainWindow = new inkrun::app::frmMainInkrun();
    mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    mainWindow->Form_Load();
    mainWindow->show();
    const int result = QApplication::exec();
    delete mainWindow.data();
    return result;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Inkrun Script Builder");
    QApplication::setApplicationVersion(inkrun::kVersionText);
    // The window reads no command line: everything it needs comes from its settings directory.
    return Main();
}
