#pragma once

// The command-line builder run in this process, on real files in a temporary directory.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "frontends/cli/build_cli.h"
#include "model/plain_window_state.h"
#include "script/build_command.h"
#include "setup/default_template.h"
#include "setup/setup_commands.h"
#include "support/expected_script.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace inkrun::cli {

// Setup slot 1 of the fixture's settings directory.
inline const std::string kSlot1Setup = "zoom\r\nextents";

// One drawing with the built-in template.
inline std::string templateScript(const std::string& directory, const std::string& drawing) {
    return test::expectedScript(directory, {drawing}, setup::defaultSetupTemplate());
}

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// A settings directory that remembers "jobs", whose list reads A-101, a-102, B-201, C-301, D-401,
// and whose slot 1 holds kSlot1Setup.
class BuildCli : public ::testing::Test {
protected:
    BuildCli() {
        settings = dir.mkdir("settings");
        jobs = dir.mkdir("jobs");
        for (const char* name : {"C-301.dwg", "a-102.dwg", "D-401.dwg", "A-101.dwg", "B-201.DWG", "notes.txt"})
            dir.write(std::string("jobs/") + name, "");
        dir.write("settings/DefaultFile.txt", jobs);
        dir.write("settings/Setup1.txt", kSlot1Setup);
    }

    // `input` stands for standard input.
    CliRun run(std::vector<std::string> args, std::string cwd = {}, const std::string& input = {}) {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = runBuildCli(args, in, out, err, cwd.empty() ? settings : cwd);
        return {status, out.str(), err.str()};
    }

    // The window run by hand: started in `settings`, then the person's steps, then Build.
    std::string windowScript(const std::function<void(PlainWindowState&, const ProgramSettings&)>& person) {
        const ProgramSettings programSettings = startupSettings(settings);
        PlainWindowState window;
        restoreStartState(window, programSettings);
        setup::loadSetupSlot(window, programSettings, 1);
        person(window, programSettings);
        test::ScriptedDialogs dialogs;
        script::buildInkrunScript(window, dialogs, programSettings);
        const std::string script = test::readFile(window.drawingDirectory() + test::kSep + "Inkrun.scr");
        std::filesystem::remove(test::pathOf(window.drawingDirectory() + test::kSep + "Inkrun.scr"));
        return script;
    }

    // The CLI's script both ways: into the drawing directory and on stdout; they must agree.
    std::string cliScript(std::vector<std::string> args, const std::string& drawingDirectory) {
        const CliRun toFile = run(args);
        EXPECT_EQ(toFile.status, kExitSuccess) << toFile.err;
        const std::string script = test::readFile(drawingDirectory + test::kSep + "Inkrun.scr");
        std::filesystem::remove(test::pathOf(drawingDirectory + test::kSep + "Inkrun.scr"));
        args.insert(args.end(), {"--output", "-"});
        const CliRun toStdout = run(args);
        EXPECT_EQ(toStdout.status, kExitSuccess) << toStdout.err;
        EXPECT_EQ(toStdout.out, script);
        EXPECT_EQ(toStdout.err, "");
        return script;
    }

    bool exists(const std::string& path) const { return std::filesystem::exists(test::pathOf(path)); }
    std::size_t entriesIn(const std::string& directory) const {
        const auto path = test::pathOf(directory);
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(path), std::filesystem::directory_iterator()));
    }

    test::TempDir dir;
    std::string settings;
    std::string jobs;
};

}  // namespace inkrun::cli
