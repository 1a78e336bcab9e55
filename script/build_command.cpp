#include "script/build_command.h"

#include "script/script_builder.h"

namespace inkrun::script {

std::string scriptSavedMessage(const std::string& scriptFileName, const std::string& directory) {
    return "File saved as: " + scriptFileName + "\rFile located: " + directory;
}

std::optional<ScriptJob> scriptJobFromWindow(const MainWindowState& state, UserDialogs& dialogs,
                                             const ProgramSettings& settings) {
    ScriptJob job;
    job.setupText = state.setupText();
    if (job.setupText.empty()) {
        dialogs.showMessage(kNoSetupMessage, kNoSetupTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    job.drawings = state.selectedDrawings();
    if (job.drawings.empty()) {
        dialogs.showMessage(kNoDrawingsMessage, kNoDrawingsTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    job.directory = state.drawingDirectory();
    job.descending = state.descendingOrder();
    job.separator = settings.separator;
    return job;
}

void buildInkrunScript(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings) {
    const std::optional<ScriptJob> job = scriptJobFromWindow(state, dialogs, settings);
    if (!job) return;
    saveScript(*job, settings.scriptFileName);
    dialogs.showMessage(scriptSavedMessage(settings.scriptFileName, job->directory), kApplicationTitle,
                        MessageIcon::None);
}

}  // namespace inkrun::script
