#include <gtest/gtest.h>

#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "app/startup.h"
#include "model/plain_window_state.h"
#include "platform/file_error.h"
#include "platform/file_lookup.h"
#include "support/temp_dir.h"

namespace inkrun {
namespace {

using test::TempDir;

class StartState : public ::testing::Test {
protected:
    void SetUp() override {
        settings = startupSettings(dir.path());
        dir.mkdir("jobs");
        dir.write("jobs/B.dwg", "");
        dir.write("jobs/a.DWG", "");
        dir.write("jobs/readme.txt", "");
        dir.write("here.dwg", "");
    }
    void start() {
        state.setSetupText("left over");
        restoreStartState(state, settings);
    }
    void expectSettingsDirectory() {
        EXPECT_EQ(state.drawingDirectory(), dir.path());
        EXPECT_EQ(state.drawingListPath(), dir.path());
        EXPECT_EQ(state.drawingListEntries(), std::vector<std::string>{"here.dwg"});
    }

    TempDir dir;
    ProgramSettings settings;
    PlainWindowState state;
};

TEST_F(StartState, TheRememberedDirectoryIsShownWithNothingSelected) {
    dir.write("DefaultFile.txt", dir.file("jobs"));
    start();
    EXPECT_EQ(state.drawingDirectory(), dir.file("jobs"));
    EXPECT_EQ(state.drawingListPath(), dir.file("jobs"));
    EXPECT_EQ(state.drawingListEntries(), (std::vector<std::string>{"a.DWG", "B.dwg"}));
    EXPECT_TRUE(state.selectedDrawings().empty());
    EXPECT_EQ(state.setupText(), "");
}

TEST_F(StartState, TheFileIsFoundWhateverItsLetterCase) {
    dir.write("DEFAULTFILE.TXT", dir.file("jobs"));
    start();
    EXPECT_EQ(state.drawingDirectory(), dir.file("jobs"));
}

TEST_F(StartState, NoUsableRememberedDirectoryFallsBackToTheSettingsDirectory) {
    start();  // no file
    expectSettingsDirectory();

    for (const std::string& content : {std::string(""), dir.file("removed"), dir.file("jobs/B.dwg")}) {
        dir.write("DefaultFile.txt", content);
        start();
        expectSettingsDirectory();
    }
}

#ifndef _WIN32  // dot-files and FIFOs; the Windows attributes are tested on their own
TEST_F(StartState, HiddenOrNonOrdinaryFilesDoNotCount) {
    dir.write(".DefaultFile.txt", dir.file("jobs"));  // hidden: another name on POSIX, never found
    dir.mkdir("DefaultFile.txt");                     // a directory of that name
    start();
    expectSettingsDirectory();

    TempDir other;
    ASSERT_EQ(mkfifo(other.file("DefaultFile.txt").c_str(), 0600), 0);
    settings = startupSettings(other.path());
    start();  // must not block on the FIFO
    EXPECT_EQ(state.drawingDirectory(), other.path());
}
#endif

TEST_F(StartState, AnAccentedPathInTheCodePageComesBackAsTheSameText) {
    const std::string accented = dir.mkdir("caf\xC3\xA9");
    dir.write("DefaultFile.txt", dir.path() + test::kSep + "caf\xE9");  // é as Windows-1252 writes it
    start();
    EXPECT_EQ(state.drawingDirectory(), accented);
}

// A relative path would give scripts with relative drawing paths, which the CAD program reads
// in its own folder.
TEST_F(StartState, ARelativeRememberedDirectoryIsShownAsAFullPathInTheSettingsDirectory) {
    dir.write("DefaultFile.txt", "." + test::kSep + "jobs");
    start();
    EXPECT_EQ(state.drawingDirectory(), dir.file("jobs"));
    EXPECT_EQ(state.drawingListPath(), dir.file("jobs"));
    EXPECT_EQ(state.drawingListEntries(), (std::vector<std::string>{"a.DWG", "B.dwg"}));
}

TEST_F(StartState, ALineEndAddedByAnEditorIsNotPartOfThePath) {
    dir.write("DefaultFile.txt", dir.file("jobs") + "\n");
    start();
    EXPECT_EQ(state.drawingDirectory(), dir.file("jobs"));
}

#ifndef _WIN32  // /proc/self/mem
TEST_F(StartState, AnUnreadableFileIsReportedAfterTheFallbackIsInPlace) {
    // A regular file whose read fails even for root.
    std::filesystem::create_symlink("/proc/self/mem", dir.file("DefaultFile.txt"));
    EXPECT_THROW(start(), platform::FileError);
    expectSettingsDirectory();
}
#endif

TEST_F(StartState, ARemovedSettingsDirectoryIsReportedAndKeptAsTheOnlyPlace) {
    const std::string gone = dir.file("gone");
    settings = startupSettings(gone);
    try {
        start();
        FAIL() << "no report";
    } catch (const SettingsDirectoryGone& error) {
        EXPECT_NE(std::string(error.what()).find(gone), std::string::npos);
    }
    EXPECT_EQ(state.drawingDirectory(), gone);
    EXPECT_TRUE(state.drawingListEntries().empty());
    EXPECT_EQ(state.setupText(), "");
}

#ifndef _WIN32  // Windows refuses to remove a directory that is some process's current one.
TEST(Startup, ACurrentDirectoryRemovedUnderTheProgramIsStillTheSettingsDirectory) {
    const auto before = std::filesystem::current_path();
    TempDir dir;
    const std::string gone = dir.mkdir("gone");
    std::filesystem::current_path(gone);
    std::filesystem::remove(gone);
    const ProgramSettings settings = settingsOfCurrentDirectory();
    std::filesystem::current_path(before);
    EXPECT_EQ(settings.scriptSettingsDirectory, gone);
    EXPECT_EQ(settings.settingsPath("Setup1.txt"), gone + "/Setup1.txt");
}
#endif

TEST(Startup, SettingsAreFixedFromTheStartDirectory) {
    const ProgramSettings settings = startupSettings("/srv/cad");
    EXPECT_EQ(settings.defaultFilePath(), "/srv/cad" + test::kSep + "DefaultFile.txt");
    EXPECT_EQ(settings.settingsFileNames[1], "Setup1.txt");
    EXPECT_EQ(settings.settingsFileNames[2], "Setup2.txt");
    EXPECT_EQ(settings.helpFileName, "readme.htm");
    EXPECT_EQ(settings.scriptFileName, "Inkrun.scr");
}

}  // namespace
}  // namespace inkrun
