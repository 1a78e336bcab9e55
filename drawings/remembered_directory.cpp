#include "drawings/remembered_directory.h"

#include "platform/ansi_codec.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"

namespace inkrun::drawings {

void rememberDrawingDirectory(const ProgramSettings& settings, const std::string& directory) {
    platform::writeFileAtomically(settings.defaultFilePath(), platform::encodeAnsi(directory));
}

std::string withoutEditorLineEnd(std::string text) {
    if (text.ends_with("\r\n")) text.resize(text.size() - 2);
    else if (text.ends_with('\n') || text.ends_with('\r')) text.pop_back();
    return text;
}

std::string rememberedDirectoryFrom(const std::string& text, const ProgramSettings& settings) {
    if (text.empty()) return text;
    return platform::absolutePathFrom(settings.scriptSettingsDirectory, text, settings.separator);
}

std::string rememberedDrawingDirectory(const ProgramSettings& settings) {
    const auto found = platform::findOrdinaryFile(settings.scriptSettingsDirectory, settings.settingsFileNames[0],
                                                  settings.separator);
    if (!found) return {};
    return rememberedDirectoryFrom(withoutEditorLineEnd(platform::readTextFile(*found)), settings);
}

}  // namespace inkrun::drawings
