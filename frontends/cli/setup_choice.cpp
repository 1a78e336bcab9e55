#include "frontends/cli/setup_choice.h"

#include <filesystem>
#include <system_error>

#include "frontends/cli/cli_paths.h"
#include "platform/utf8_path.h"
#include "setup/setup_commands.h"
#include "setup/setup_file.h"

namespace inkrun::cli {

namespace {

// The window falls back to the template when slot 1 has no file; a job nobody watches must not,
// since played back the template plots, closes and saves every drawing.
std::runtime_error noSetup(const ProgramSettings& settings, const Options& options) {
    return std::runtime_error(
        "No setup: there is no " + settings.settingsFileNames[static_cast<std::size_t>(options.slot)] +
        " (setup slot " + std::to_string(options.slot) + ") in the settings directory, " +
        settings.scriptSettingsDirectory + " (" +
        (options.settingsDirectory ? "named by --settings" : "the current directory") +
        "). Name a setup with --setup FILE or --slot N, or take the built-in template with --template. Nothing was "
        "written.");
}

}  // namespace

platform::FileError setupTooLarge(const std::string& setupFile, const char* action) {
    std::error_code error;
    const auto size = std::filesystem::file_size(platform::pathOf(setupFile), error);
    return platform::FileError(action, setupFile,
                               (error ? std::string("it is") : "at " + platform::describeSize(size) + " it is") +
                                   " larger than the memory available to build a script with it");
}

SetupOrigin loadSetup(PlainWindowState& state, const ProgramSettings& settings, const Options& options,
                      const std::string& currentDirectory) {
    switch (options.setupSource) {
    case SetupSource::Slot: {
        std::optional<setup::SetupSlotFile> found;
        const std::optional<std::string> slotName = settings.settingsPath(
            settings.settingsFileNames[static_cast<std::size_t>(options.slot)]);
        namingTheSetup(slotName, "read",
                       [&] { found = setup::readSetupSlot(settings, options.slot, SettingsReader::Unattended); });
        if (!found) throw noSetup(settings, options);
        namingTheSetup(found->path, "read",
                       [&] { setup::loadSetupSlotText(state, settings, options.slot, std::move(found->text)); });
        return {found->path, "slot " + std::to_string(options.slot) + ", " + found->path, SetupSource::Slot,
                options.slot};
    }
    case SetupSource::Template:
        setup::loadDefaultSetup(state);
        return {std::nullopt, "the built-in template", SetupSource::Template};
    case SetupSource::File: {
        const std::string path = absoluteFrom(currentDirectory, options.setupFile);
        std::error_code error;
        if (!std::filesystem::exists(platform::pathOf(path), error))
            throw UsageError("setup file '" + options.setupFile + "' does not exist");
        namingTheSetup(path, "read", [&] { setup::loadSetupFile(state, path); });
        return {path, path, SetupSource::File};
    }
    }
    return {};
}

std::optional<LinesFile> loadLinesFile(const std::optional<std::string>& given, const std::string& option,
                                       const std::string& currentDirectory) {
    if (!given) return std::nullopt;
    LinesFile file{absoluteFrom(currentDirectory, *given), {}};
    const std::string what = option.substr(2);
    std::error_code error;
    if (!std::filesystem::exists(platform::pathOf(file.path), error))
        throw UsageError(what + " file '" + *given + "' does not exist");
    file.text = setup::readSetupFile(file.path);
    if (file.text.empty())
        throw std::runtime_error("Cannot build: the " + what + " " + file.path + " is empty, but " + option +
                                 " asks for its lines. Nothing was written.");
    return file;
}

}  // namespace inkrun::cli
