#pragma once

#include <array>
#include <string>

#include "platform/file_lookup.h"

namespace inkrun {

inline constexpr const char* kMainWindowTitle = "Inkrun Script Builder";
inline constexpr const char* kHelpWindowTitle = "INKRUN - Microsoft Internet Explorer";
inline constexpr const char* kDefaultScriptMarker = "Default Script Loaded";

// Who reads the settings files, and so what becomes of one the program cannot use: the window
// passes over it and falls back, where the person sees what follows; a run nobody watches stops
// and names it, rather than guess.
enum class SettingsReader { Window, Unattended };

// Process-wide values, fixed once at start-up.
struct ProgramSettings {
    std::string scriptSettingsDirectory;
    std::array<std::string, 3> settingsFileNames{"DefaultFile.txt", "Setup1.txt", "Setup2.txt"};
    std::string helpFileName = "readme.htm";
    std::string scriptFileName = "Inkrun.scr";
    char separator = platform::kPathSeparator;

    std::string defaultFilePath() const { return settingsPath(settingsFileNames[0]); }
    std::string settingsPath(const std::string& name) const {
        return platform::joinPath(scriptSettingsDirectory, name, separator);
    }
};

}  // namespace inkrun
