#pragma once

#include <new>
#include <optional>
#include <stdexcept>
#include <string>

#include "frontends/cli/command_line.h"
#include "model/plain_window_state.h"
#include "model/program_settings.h"
#include "platform/file_error.h"

// The setup a command line chooses: a slot, a file or the built-in template.

namespace inkrun::cli {

// Where the setup came from: its file, if any, and how a dry run names it.
struct SetupOrigin {
    std::optional<std::string> file;
    std::string description;
    SetupSource source = SetupSource::Slot;
    int slot = 0;  // with SetupSource::Slot
};

// A preamble or an epilogue: the lines of its file, read as a setup file is read.
struct LinesFile {
    std::string path;
    std::string text;
};

// The file `given` names for `option` ("--preamble"), if any. Throws UsageError for a file that
// does not exist, and std::runtime_error for an empty one: its lines were asked for.
std::optional<LinesFile> loadLinesFile(const std::optional<std::string>& given, const std::string& option,
                                       const std::string& currentDirectory);

// Loads the setup the options choose into the state. A slot without a file stops the build,
// where the window would take the template; so does anything but an ordinary file under the
// slot's name. Throws UsageError for a setup file that does not exist.
SetupOrigin loadSetup(PlainWindowState& state, const ProgramSettings& settings, const Options& options,
                      const std::string& currentDirectory);

// The error for a setup larger than the memory a build has for it, naming the file and its size.
platform::FileError setupTooLarge(const std::string& setupFile, const char* action);

// Runs a step that holds the setup whole. One larger than the memory available stops the build,
// naming it and its size (to `action` it: "read", "use"); nothing is written by then.
template <typename Step>
void namingTheSetup(const std::optional<std::string>& setupFile, const char* action, Step step) {
    try {
        step();
    } catch (const std::bad_alloc&) {
        if (!setupFile) throw;
        throw setupTooLarge(*setupFile, action);
    } catch (const std::length_error&) {
        if (!setupFile) throw;
        throw setupTooLarge(*setupFile, action);
    }
}

}  // namespace inkrun::cli
