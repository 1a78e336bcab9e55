#include "script/build_command.h"

#include "script/script_builder.h"

namespace inkrun::script {

std::string scriptSavedMessage(const std::string& scriptFileName, const std::string& directory) {
    return "File saved as: " + scriptFileName + "\rFile located: " + directory;
}

void buildInkrunScript(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings) {
    ScriptJob job;
    job.setupText = state.setupText();
    if (job.setupText.empty()) {
        dialogs.showMessage(kNoSetupMessage, kNoSetupTitle, MessageIcon::Exclamation);
        return;
    }
    job.drawings = state.selectedDrawings();
    if (job.drawings.empty()) {
        dialogs.showMessage(kNoDrawingsMessage, kNoDrawingsTitle, MessageIcon::Exclamation);
        return;
    }
    job.directory = state.drawingDirectory();
    job.descending = state.descendingOrder();
    job.separator = settings.separator;
    saveScript(job, settings.scriptFileName);
    dialogs.showMessage(scriptSavedMessage(settings.scriptFileName, job.directory), kApplicationTitle,
                        MessageIcon::None);
}

}  // namespace inkrun::script
