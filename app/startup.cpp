#include "app/startup.h"

#include <exception>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "drawings/drawing_list.h"
#include "drawings/remembered_directory.h"
#include "platform/file_lookup.h"
#include "platform/user_places.h"
#include "setup/kept_setups.h"

namespace inkrun {

ProgramSettings startupSettings(const std::string& currentDirectory) {
    ProgramSettings settings;
    settings.scriptSettingsDirectory = currentDirectory;
    return settings;
}

namespace {

// Where a removed current directory was, as Linux still tells it; empty elsewhere.
std::string removedCurrentDirectory() {
    std::error_code error;
    std::string where = std::filesystem::read_symlink("/proc/self/cwd", error).string();
    if (error) return {};
    constexpr std::string_view deleted = " (deleted)";
    if (where.ends_with(deleted)) where.resize(where.size() - deleted.size());
    return where;
}

}  // namespace

ProgramSettings settingsOfCurrentDirectory() {
    try {
        return startupSettings(platform::currentDirectory());
    } catch (...) {
        const std::string where = removedCurrentDirectory();
        return startupSettings(where.empty() || where.front() != '/' ? "." : where);
    }
}

SettingsDirectoryGone::SettingsDirectoryGone(const std::string& directory)
    : std::runtime_error("The settings directory " + directory +
                         " no longer exists: it was removed after the program was started in it. "
                         "The remembered drawing directory and the setup slots cannot be read or saved "
                         "there, and nothing is saved anywhere else in its place. Start the program in an "
                         "existing directory to keep them.") {}

void restoreStartState(MainWindowState& state, const ProgramSettings& settings) {
    state.setSetupText("");
    if (!platform::dirExists(settings.scriptSettingsDirectory)) {
        state.setDrawingDirectory(settings.scriptSettingsDirectory);
        try {
            drawings::setDrawingListPath(state, settings.scriptSettingsDirectory);  // an empty list
        } catch (...) {
        }
        throw SettingsDirectoryGone(settings.scriptSettingsDirectory);
    }
    std::exception_ptr readError;
    std::string directory;
    try {
        directory = drawings::rememberedDrawingDirectory(settings);
    } catch (...) {
        readError = std::current_exception();
    }
    directory = drawings::startingDrawingDirectory(directory, settings);
    state.setDrawingDirectory(directory);
    drawings::setDrawingListPath(state, directory);
    if (readError) std::rethrow_exception(readError);
}

void tellOfKeptSetups(const ProgramSettings& settings, UserDialogs& dialogs) {
    std::vector<std::string> kept = setup::keptSetupsToTell(settings.scriptSettingsDirectory);
    if (const auto data = platform::userDataFolder())
        for (std::string& path : setup::keptSetupsToTell(*data)) kept.push_back(std::move(path));
    if (kept.empty()) return;
    const bool one = kept.size() == 1;
    std::string text = one ? "The setup you typed and did not save was kept:"
                           : "The setups you typed and did not save were kept:";
    for (const std::string& path : kept) text += "\n" + path;
    text += one ? "\n\nOpen it with File > Open Script Setup." : "\n\nOpen them with File > Open Script Setup.";
    dialogs.showMessage(text, kApplicationTitle, MessageIcon::None);
}

}  // namespace inkrun
