#include "app/help_command.h"

#include "platform/ansi_codec.h"

namespace inkrun {

std::string shellErrorMessage(int result) {
    switch (result) {
    case 2: return "File not found";
    case 3: return "Path not found";
    case 5: return "Access denied";
    case 8: return "Out of memory";
    case 11: return "Invalid EXE file or error in EXE image";
    case 26: return "A sharing violation occurred";
    case 27: return "Incomplete or invalid file association";
    case 28: return "DDE Time out";
    case 29: return "DDE transaction failed";
    case 30: return "DDE busy";
    case 31: return "No association for file extension";
    case 32: return "DLL not found";
    default: return "Unknown error";
    }
}

void reportShellResult(int result, const std::string& document, UserDialogs& dialogs) {
    if (result > 32) return;
    dialogs.showMessage(shellErrorMessage(result) + "\n" + platform::escapeControls(document), kApplicationTitle,
                        MessageIcon::None);
}

void showHelp(const ProgramSettings& settings, UserDialogs& dialogs,
              const std::function<void(const std::string& title)>& closeWindowByTitle,
              const std::function<int(const std::string& path)>& openDocument) {
    closeWindowByTitle(kHelpWindowTitle);
    const std::string page = settings.settingsPath(settings.helpFileName);
    reportShellResult(openDocument(page), page, dialogs);
}

}  // namespace inkrun
