#include "commands/startup.h"

#include <exception>

#include "platform/ansi_codec.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"

namespace inkrun {

ProgramSettings startupSettings(const std::string& currentDirectory) {
    ProgramSettings settings;
    settings.scriptSettingsDirectory = currentDirectory;
    return settings;
}

std::string rememberedDrawingDirectory(const ProgramSettings& settings) {
    const auto found = platform::findOrdinaryFile(settings.scriptSettingsDirectory, settings.settingsFileNames[0],
                                                  settings.separator);
    if (!found) return {};
    std::string directory = platform::decodeAnsi(platform::readWholeFile(*found));
    // The program writes no line end, but a text editor adds one; it is never part of a path.
    if (directory.ends_with("\r\n")) directory.resize(directory.size() - 2);
    else if (directory.ends_with('\n') || directory.ends_with('\r')) directory.pop_back();
    return directory;
}

void restoreStartState(MainWindowState& state, const ProgramSettings& settings) {
    state.setSetupText("");
    std::exception_ptr readError;
    std::string directory;
    try {
        directory = rememberedDrawingDirectory(settings);
    } catch (...) {
        readError = std::current_exception();
    }
    if (directory.empty() || !platform::dirExists(directory)) directory = settings.scriptSettingsDirectory;
    state.setDrawingDirectory(directory);
    state.setDrawingListPath(directory);
    if (readError) std::rethrow_exception(readError);
}

}  // namespace inkrun
