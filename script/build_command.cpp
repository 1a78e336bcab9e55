#include "script/build_command.h"

#include "script/script_builder.h"

namespace inkrun::script {

std::string scriptSavedMessage(const std::string& scriptFileName, const std::string& directory) {
    return "File saved as: " + scriptFileName + "\rFile located: " + directory;
}

bool jobCanBeBuilt(const ScriptJob& job, UserDialogs& dialogs) {
    if (job.setupText.empty()) {
        dialogs.showMessage(kNoSetupMessage, kNoSetupTitle, MessageIcon::Exclamation);
        return false;
    }
    if (job.drawings.empty()) {
        dialogs.showMessage(kNoDrawingsMessage, kNoDrawingsTitle, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

std::optional<ScriptJob> scriptJobFromWindow(MainWindowState& state, UserDialogs& dialogs,
                                             const ProgramSettings& settings) {
    ScriptJob job;
    job.setupText = state.setupTextForBuild();
    // An empty setup is reported before the list is read.
    if (!job.setupText.empty()) job.drawings = state.selectedDrawingsForBuild();
    if (!jobCanBeBuilt(job, dialogs)) return std::nullopt;
    job.directory = state.drawingDirectory();
    job.descending = state.descendingOrder();
    job.separator = settings.separator;
    return job;
}

void buildInkrunScript(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings) {
    std::optional<ScriptJob> job = scriptJobFromWindow(state, dialogs, settings);
    if (!job) return;
    const std::string directory = job->directory;
    saveScript(std::move(*job), settings.scriptFileName);
    dialogs.showMessage(scriptSavedMessage(settings.scriptFileName, directory), kApplicationTitle, MessageIcon::None);
}

}  // namespace inkrun::script
