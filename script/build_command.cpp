#include "script/build_command.h"

#include <utility>

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
                                             const ProgramSettings& settings,
                                             std::optional<std::vector<std::string>> fullPaths) {
    ScriptJob job;
    job.setupText = state.setupTextForBuild();
    job.fullPaths = fullPaths.has_value();
    // An empty setup is reported before the list is read.
    if (fullPaths) job.drawings = std::move(*fullPaths);
    else if (!job.setupText.empty()) job.drawings = state.selectedDrawingsForBuild();
    if (!jobCanBeBuilt(job, dialogs)) return std::nullopt;
    job.directory = state.drawingDirectory();
    job.descending = state.descendingOrder();
    job.separator = settings.separator;
    return job;
}

void saveScriptAndReport(ScriptJob job, const ProgramSettings& settings, UserDialogs& dialogs) {
    const std::string directory = job.directory;
    saveScript(std::move(job), settings.scriptFileName);
    dialogs.showMessage(scriptSavedMessage(settings.scriptFileName, directory), kApplicationTitle, MessageIcon::None);
}

void buildInkrunScript(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings) {
    if (std::optional<ScriptJob> job = scriptJobFromWindow(state, dialogs, settings))
        saveScriptAndReport(std::move(*job), settings, dialogs);
}

}  // namespace inkrun::script
