#include "setup/setup_commands.h"

#include "model/plain_window_state.h"
#include "platform/file_error.h"
#include "platform/file_io_testing.h"
#include "setup/default_template.h"
#include "setup/kept_setups.h"
#include "setup/setup_file.h"
#include "support/as_user.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace inkrun::setup {
namespace {

using test::ScriptedDialogs;
using test::TempDir;
using DialogKind = ScriptedDialogs::DialogKind;

class SetupCommands : public ::testing::Test {
protected:
    SetupCommands() {
        settings.scriptSettingsDirectory = dir.mkdir("settings");
        state.setDrawingDirectory(dir.mkdir("drawings"));
    }

    std::string slotPath(int slot) const { return settings.settingsPath(settings.settingsFileNames[slot]); }

    TempDir dir;
    ProgramSettings settings;
    PlainWindowState state;
    ScriptedDialogs dialogs;
};

// --- slots ---------------------------------------------------------------------------------

TEST_F(SetupCommands, SlotPresentLoadsItsTextAndPath) {
    dir.write("settings/Setup2.txt", "zoom\r\nall\r\n");
    loadSetupSlot(state, settings, 2);
    EXPECT_EQ(state.setupText(), "zoom\r\nall\r\n");
    EXPECT_EQ(state.setupPath(), slotPath(2));
}

TEST_F(SetupCommands, SlotInCapitalsIsFoundAndShownUnderItsOwnName) {
    dir.write("settings/SETUP1.TXT", "from capitals");
    loadSetupSlot(state, settings, 1);
    EXPECT_EQ(state.setupText(), "from capitals");
    EXPECT_EQ(state.setupPath(), slotPath(1));
    EXPECT_TRUE(state.setupPath().ends_with("Setup1.txt"));
}

TEST_F(SetupCommands, SlotMissingOrADirectoryGivesTheTemplate) {
    state.setSetupText("typed");
    loadSetupSlot(state, settings, 1);
    EXPECT_EQ(state.setupText(), defaultSetupTemplate());
    EXPECT_EQ(state.setupPath(), kDefaultScriptMarker);

    dir.mkdir("settings/Setup2.txt");
    state.setSetupText("typed");
    state.setSetupPath("/x/a.txt");
    loadSetupSlot(state, settings, 2);
    EXPECT_EQ(state.setupText(), defaultSetupTemplate());
    EXPECT_EQ(state.setupPath(), kDefaultScriptMarker);
}

#ifndef _WIN32  // /proc/self/mem
TEST_F(SetupCommands, SlotThatCannotBeReadKeepsTheSetup) {
    // A regular file whose read fails even for root.
    std::filesystem::create_symlink("/proc/self/mem", slotPath(1));
    state.setSetupText("unsaved work");
    state.setSetupPath("/x/a.txt");
    EXPECT_THROW(loadSetupSlot(state, settings, 1), platform::FileError);
    EXPECT_EQ(state.setupText(), "unsaved work");
    EXPECT_EQ(state.setupPath(), "/x/a.txt");
}
#endif

#ifndef _WIN32
// A setup kept in a settings folder that others may write to, where another user planted the
// first kept setup's name as a link to the user's own file: a kept setup never replaces a file,
// so it goes under a name of its own and the user's file stays whole.
TEST_F(SetupCommands, AKeptSetupGoesThroughNoLinkAnotherUserPlanted) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root, to be two other users";
    test::give(dir.path(), 0, 0755);
    test::give(settings.scriptSettingsDirectory, 0, 01777);
    const std::string own = dir.write("own.txt", "the user's own");
    test::give(own, test::kVictim, 0644);
    test::plant(own, settings.settingsPath(kFirstKeptSetupName), test::kPlanter);
    const std::string outcome = test::asUser(test::kVictim, [&] {
        return keepSetup(settings.scriptSettingsDirectory, "typed", {2026, 12, 3, 14, 5, 22});
    });
    EXPECT_EQ(outcome, settings.settingsPath("Setup.unsaved_2026-12-03_14-05-22.txt"));
    EXPECT_EQ(dir.read("own.txt"), "the user's own");
}
#endif

TEST_F(SetupCommands, ClearEmptiesTextAndPath) {
    loadDefaultSetup(state);
    clearSetup(state);
    EXPECT_EQ(state.setupText(), "");
    EXPECT_EQ(state.setupPath(), "");
}

// --- open ----------------------------------------------------------------------------------

TEST_F(SetupCommands, OpenStartsWhereTheSetupCameFrom) {
    dir.write("settings/Setup1.txt", "slot");
    const std::string drawings = state.drawingDirectory();

    loadDefaultSetup(state);
    dialogs.cancel();
    openSetupFile(state, settings, dialogs);
    loadSetupSlot(state, settings, 1);
    dialogs.cancel();
    openSetupFile(state, settings, dialogs);
    clearSetup(state);
    dialogs.cancel();
    openSetupFile(state, settings, dialogs);

    ASSERT_EQ(dialogs.dialogs.size(), 3u);
    EXPECT_EQ(dialogs.dialogs[0].options.initialDirectory, drawings);
    EXPECT_EQ(dialogs.dialogs[1].options.initialDirectory, slotPath(1));
    EXPECT_EQ(dialogs.dialogs[2].options.initialDirectory, "");
    for (const auto& shown : dialogs.dialogs) {
        EXPECT_EQ(shown.kind, DialogKind::OpenFile);
        EXPECT_EQ(shown.options.title, "Script Files");
        EXPECT_EQ(shown.options.filterName, "Text Files");
        EXPECT_EQ(shown.options.filterPattern, "*.txt");
        EXPECT_EQ(shown.options.fileName, "*.txt");
        EXPECT_EQ(shown.options.places, std::vector<std::string>{settings.scriptSettingsDirectory});
    }
}

TEST_F(SetupCommands, OpenLoadsTheChosenFileAndCancelLeavesEverything) {
    const std::string chosen = dir.write("mine.txt", "a\r\nb");
    state.setSetupText("before");
    state.setSetupPath("/x/before.txt");
    dialogs.cancel();
    openSetupFile(state, settings, dialogs);
    EXPECT_EQ(state.setupText(), "before");
    EXPECT_EQ(state.setupPath(), "/x/before.txt");
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.answer(chosen);
    openSetupFile(state, settings, dialogs);
    EXPECT_EQ(state.setupText(), "a\r\nb");
    EXPECT_EQ(state.setupPath(), chosen);
}

TEST_F(SetupCommands, OpenThatCannotReadKeepsTheSetupAndReports) {
    state.setSetupText("unsaved work");
    state.setSetupPath("/x/a.txt");
    const std::string missing = dir.file("gone.txt");
    dialogs.answer(missing);
    try {
        openSetupFile(state, settings, dialogs);
        FAIL() << "no error";
    } catch (const platform::FileError& error) {
        EXPECT_EQ(error.path(), missing);
    }
    dialogs.answer(dir.mkdir("folder.txt"));
    EXPECT_THROW(openSetupFile(state, settings, dialogs), platform::FileError);
    EXPECT_EQ(state.setupText(), "unsaved work");
    EXPECT_EQ(state.setupPath(), "/x/a.txt");
}

// --- save ----------------------------------------------------------------------------------

TEST_F(SetupCommands, SaveOnlyRefusesAnExactlyEmptySetup) {
    state.setSetupPath("/x/a.txt");
    saveSetup(state, settings, dialogs);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "No data to save.");
    EXPECT_EQ(dialogs.messages[0].title, "No Data");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(dialogs.dialogs.empty());

    for (const char* text : {" ", "\r\n"}) {
        state.setSetupText(text);
        dialogs.cancel();
        saveSetup(state, settings, dialogs);
    }
    EXPECT_EQ(dialogs.dialogs.size(), 2u);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(state.setupPath(), "/x/a.txt");
}

TEST_F(SetupCommands, SaveAfterASlotLoadOffersTheSlotAndKeepsItsPath) {
    dir.write("settings/Setup1.txt", "slot text");
    loadSetupSlot(state, settings, 1);
    state.setSetupText("edited");
    const std::string elsewhere = dir.file("drawings/other.txt");
    dialogs.answer(elsewhere);
    saveSetup(state, settings, dialogs);

    ASSERT_EQ(dialogs.dialogs.size(), 1u);
    const auto& shown = dialogs.dialogs[0];
    EXPECT_EQ(shown.kind, DialogKind::SaveFile);
    EXPECT_EQ(shown.options.fileName, "Setup1.txt");
    EXPECT_EQ(shown.options.initialDirectory, slotPath(1));
    EXPECT_TRUE(shown.options.confirmOverwrite);
    EXPECT_EQ(shown.options.filterPattern, "*.txt");
    EXPECT_EQ(test::readFile(elsewhere), "edited");
    EXPECT_EQ(dir.read("settings/Setup1.txt"), "slot text");
    EXPECT_EQ(state.setupPath(), slotPath(1));
}

TEST_F(SetupCommands, SavingASlotStoredInCapitalsWritesThatFileNotASecond) {
    dir.write("settings/SETUP1.TXT", "slot text");
    loadSetupSlot(state, settings, 1);
    state.setSetupText("edited");
    dialogs.answer(slotPath(1));
    saveSetup(state, settings, dialogs);
    EXPECT_EQ(dir.read("settings/SETUP1.TXT"), "edited");
    std::vector<std::string> stored;  // not exists(): a file system may ignore case
    for (const auto& entry : std::filesystem::directory_iterator(test::pathOf(dir.file("settings"))))
        stored.push_back(test::textOf(entry.path().filename()));
    EXPECT_EQ(stored, std::vector<std::string>{"SETUP1.TXT"});
    EXPECT_EQ(state.setupPath(), slotPath(1));
    loadSetupSlot(state, settings, 1);
    EXPECT_EQ(state.setupText(), "edited");

    // Another name typed in the dialog is that name: nothing else is touched.
    dialogs.answer(dir.file("settings/setup1.TXT"));
    saveSetup(state, settings, dialogs);
    EXPECT_EQ(dir.read("settings/setup1.TXT"), "edited");
    EXPECT_EQ(dir.read("settings/SETUP1.TXT"), "edited");
}

#ifndef _WIN32  // FIFOs, device nodes and the sync fault are POSIX only
TEST_F(SetupCommands, ASaveAsWhoseDurabilityIsUnconfirmedStillTakesThePath) {
    state.setSetupText("new");
    const std::string target = dir.file("drawings/plot.txt");
    dialogs.answer(target);
    platform::testing::failDirectorySyncWith(EIO);
    EXPECT_THROW(saveSetupAs(state, settings, dialogs), platform::WrittenWithWarning);
    platform::testing::failDirectorySyncWith(0);
    EXPECT_EQ(test::readFile(target), "new");
    EXPECT_EQ(state.setupPath(), target);
}

#endif
TEST_F(SetupCommands, SaveOffersTheNameAfterEitherSeparator) {
    state.setSetupText("x");
    for (const char* path : {"C:\\jobs\\plot.txt", "/jobs/win\\plot.txt", "plot.txt", ""}) {
        state.setSetupPath(path);
        dialogs.cancel();
        saveSetup(state, settings, dialogs);
    }
    ASSERT_EQ(dialogs.dialogs.size(), 4u);
    EXPECT_EQ(dialogs.dialogs[0].options.fileName, "plot.txt");
    EXPECT_EQ(dialogs.dialogs[1].options.fileName, "plot.txt");
    EXPECT_EQ(dialogs.dialogs[2].options.fileName, "plot.txt");
    EXPECT_EQ(dialogs.dialogs[3].options.fileName, "");
    EXPECT_EQ(dialogs.dialogs[3].options.places, std::vector<std::string>{settings.scriptSettingsDirectory});
}

TEST_F(SetupCommands, SaveWhileTheTemplateIsLoadedIsSaveAs) {
    loadDefaultSetup(state);
    const std::string target = dir.file("drawings/new.txt");
    dialogs.answer(target);
    saveSetup(state, settings, dialogs);

    ASSERT_EQ(dialogs.dialogs.size(), 1u);
    const auto& options = dialogs.dialogs[0].options;
    EXPECT_EQ(options.title, "Script Files");
    EXPECT_EQ(options.initialDirectory, state.drawingDirectory());
    EXPECT_EQ(options.fileName, "*.txt");
    EXPECT_EQ(options.places, std::vector<std::string>{settings.scriptSettingsDirectory});
    EXPECT_TRUE(options.confirmOverwrite);
    EXPECT_EQ(state.setupPath(), target);
    EXPECT_EQ(test::readFile(target), defaultSetupTemplate());
}

TEST_F(SetupCommands, SaveAsWritesEvenAnEmptySetupAndCancelWritesNothing) {
    state.setSetupPath("/x/a.txt");
    dialogs.cancel();
    saveSetupAs(state, settings, dialogs);
    EXPECT_EQ(state.setupPath(), "/x/a.txt");

    const std::string target = dir.file("empty.txt");
    dialogs.answer(target);
    saveSetupAs(state, settings, dialogs);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(std::filesystem::exists(target));
    EXPECT_EQ(test::readFile(target), "");
    EXPECT_EQ(state.setupPath(), target);
}

// --- round trips ---------------------------------------------------------------------------

TEST_F(SetupCommands, TheTemplateSurvivesSaveAndOpen) {
    loadDefaultSetup(state);
    const std::string target = dir.file("settings/Setup1.txt");
    dialogs.answer(target);
    saveSetupAs(state, settings, dialogs);
    EXPECT_EQ(test::readFile(target), defaultSetupTemplate());

    clearSetup(state);
    loadSetupSlot(state, settings, 1);
    EXPECT_EQ(state.setupText(), defaultSetupTemplate());
    EXPECT_EQ(state.setupPath(), slotPath(1));
}

// --- failed writes -------------------------------------------------------------------------

TEST_F(SetupCommands, AFailedSaveAsKeepsThePath) {
    state.setSetupText("text");
    state.setSetupPath("/x/a.txt");
    const std::string target = dir.file("no such dir/a.txt");
    dialogs.answer(target);
    EXPECT_THROW(saveSetupAs(state, settings, dialogs), platform::FileError);
    EXPECT_EQ(state.setupPath(), "/x/a.txt");
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(SetupCommands, ACharacterTheCodePageCannotHoldIsNamedAndNothingIsWritten) {
    const std::string target = dir.write("drawings/plot.txt", "old");
    state.setSetupText("caf\xC3\xA9 \xE2\x82\xAC ohm \xCE\xA9\r\n");  // é and € fit, Ω does not
    state.setSetupPath(target);
    dialogs.answer(target);
    try {
        saveSetup(state, settings, dialogs);
        FAIL() << "no error";
    } catch (const platform::FileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Could not write " + target +
                      ": the setup holds the character \"\xCE\xA9\" (U+03A9), which the Windows-1252 code page "
                      "cannot store. Nothing was written.");
    }
    EXPECT_EQ(test::readFile(target), "old");

    const std::string fresh = dir.file("drawings/fresh.txt");
    dialogs.answer(fresh);
    EXPECT_THROW(saveSetupAs(state, settings, dialogs), platform::FileError);
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(state.setupPath(), target);
}

}  // namespace
}  // namespace inkrun::setup
