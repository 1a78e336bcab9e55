#include "drawings/drawing_selection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/file_pick.h"
#include "model/plain_window_state.h"
#include "script/build_command.h"
#include "support/expected_script.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace inkrun::drawings {
namespace {

using test::ScriptedDialogs;
using test::TempDir;
using Names = std::vector<std::string>;

class DrawingSelectionTest : public ::testing::Test {
protected:
    DrawingSelectionTest() {
        settings.scriptSettingsDirectory = root.mkdir("settings");
        settings.separator = platform::kPathSeparator;
        drawings = root.mkdir("jobs");
        for (const char* name : {"a.dwg", "b.dwg", "c.dwg", "d.dwg"}) root.write(std::string("jobs/") + name, "");
    }

    bool pick(Names parts) {
        dialogs.answer(std::move(parts));
        return openDrawingFiles(state, dialogs, settings);
    }
    std::string defaultFile() const { return test::readFile(settings.defaultFilePath()); }

    TempDir root;
    std::string drawings;
    ProgramSettings settings;
    PlainWindowState state;
    ScriptedDialogs dialogs;
};

TEST_F(DrawingSelectionTest, OneFileSetsDirectoryListMarkAndRemembersIt) {
    state.setDrawingDirectory("/somewhere/else");
    ASSERT_TRUE(pick({drawings + test::kSep + "c.dwg"}));

    ASSERT_EQ(dialogs.dialogs.size(), 1u);
    const FileDialogOptions& options = dialogs.dialogs[0].options;
    EXPECT_EQ(dialogs.dialogs[0].kind, ScriptedDialogs::DialogKind::OpenFiles);
    EXPECT_EQ(options.title, "Drawing Files");
    EXPECT_EQ(options.filterName, "DWG Drawing Files (*.dwg)");
    EXPECT_EQ(options.filterPattern, "*.dwg");
    EXPECT_EQ(options.initialDirectory, "/somewhere/else");
    EXPECT_EQ(options.fileName, "");
    EXPECT_TRUE(options.allowMultiple);

    EXPECT_EQ(state.drawingDirectory(), drawings);
    EXPECT_EQ(state.drawingListPath(), drawings);
    EXPECT_EQ(state.selectedDrawings(), Names{"c.dwg"});
    EXPECT_EQ(defaultFile(), drawings);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DrawingSelectionTest, OneFileAtTheRootLeavesAnEmptyDirectory) {
    ASSERT_TRUE(pick({"/x.dwg"}));
    EXPECT_EQ(state.drawingDirectory(), "");
    EXPECT_EQ(state.drawingListPath(), "");
    EXPECT_EQ(defaultFile(), "");
}

TEST_F(DrawingSelectionTest, OneFileUsesThePlatformSeparatorOnly) {
    // A Windows root keeps its drive and colon; slashes are part of names there.
    settings.separator = '\\';
    ASSERT_TRUE(pick({"C:\\a/b.dwg"}));
    EXPECT_EQ(state.drawingDirectory(), "C:");
}

TEST_F(DrawingSelectionTest, BareNameMarksInTheListShownAndKeepsTheDirectory) {
    ASSERT_TRUE(pick({drawings + test::kSep + "a.dwg"}));
    ASSERT_TRUE(pick({"b.dwg"}));
    EXPECT_EQ(state.drawingDirectory(), drawings);
    EXPECT_EQ(state.selectedDrawings(), (Names{"a.dwg", "b.dwg"}));
    EXPECT_EQ(defaultFile(), drawings);
}

TEST_F(DrawingSelectionTest, SeveralFilesEachMarkedOnceWhateverTheirOrder) {
    ASSERT_TRUE(pick({drawings, "d.dwg", "a.dwg", "c.dwg"}));
    EXPECT_EQ(state.drawingDirectory(), drawings);
    EXPECT_EQ(state.drawingListPath(), drawings);
    EXPECT_EQ(state.selectedDrawings(), (Names{"a.dwg", "c.dwg", "d.dwg"}));
    EXPECT_EQ(defaultFile(), drawings);
}

TEST_F(DrawingSelectionTest, SeveralFilesTakeTheDirectoryExactlyAsGiven) {
    ASSERT_TRUE(pick({drawings + test::kSep + "", "b.dwg"}));
    EXPECT_EQ(state.drawingDirectory(), drawings + test::kSep + "");
    EXPECT_EQ(state.selectedDrawings(), Names{"b.dwg"});
    EXPECT_EQ(defaultFile(), drawings + test::kSep + "");
}

TEST_F(DrawingSelectionTest, NameWithoutAnEntryMarksNothingButTheDirectoryIsTaken) {
    for (Names parts : {Names{drawings + test::kSep + "missing.dwg"}, Names{drawings, "A.dwg", "B.DWG"}}) {
        state = PlainWindowState();
        ASSERT_TRUE(pick(parts));
        EXPECT_TRUE(state.selectedDrawings().empty());
        EXPECT_EQ(state.drawingDirectory(), drawings);
        EXPECT_EQ(state.drawingListPath(), drawings);
        EXPECT_EQ(defaultFile(), drawings);
    }
}

TEST_F(DrawingSelectionTest, PickingAgainInTheSameDirectoryRereadsItAndKeepsOnlyTheNewPick) {
    ASSERT_TRUE(pick({drawings, "a.dwg", "b.dwg"}));
    root.write("jobs/e.dwg", "");
    ASSERT_TRUE(pick({drawings + test::kSep + "e.dwg"}));
    EXPECT_EQ(state.drawingListEntries(), (Names{"a.dwg", "b.dwg", "c.dwg", "d.dwg", "e.dwg"}));
    EXPECT_EQ(state.selectedDrawings(), Names{"e.dwg"});
}

TEST_F(DrawingSelectionTest, CancelAfterAnEarlierChoiceChangesNothing) {
    ASSERT_TRUE(pick({drawings, "b.dwg", "c.dwg"}));
    const std::string remembered = defaultFile();
    root.write("jobs/e.dwg", "");  // a re-read would show it

    dialogs.cancel();
    EXPECT_FALSE(openDrawingFiles(state, dialogs, settings));
    EXPECT_EQ(state.drawingDirectory(), drawings);
    EXPECT_EQ(state.drawingListEntries(), (Names{"a.dwg", "b.dwg", "c.dwg", "d.dwg"}));
    EXPECT_EQ(state.selectedDrawings(), (Names{"b.dwg", "c.dwg"}));
    EXPECT_EQ(defaultFile(), remembered);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DrawingSelectionTest, AFailingDialogPropagatesAndChangesNothing) {
    state.setDrawingDirectory("/before");
    // No answer queued: the scripted dialog throws, as a failing real one would.
    EXPECT_THROW(openDrawingFiles(state, dialogs, settings), std::logic_error);
    EXPECT_EQ(state.drawingDirectory(), "/before");
    EXPECT_FALSE(std::filesystem::exists(settings.defaultFilePath()));
}

TEST_F(DrawingSelectionTest, SettingsThatCannotBeWrittenAreSkippedSilently) {
    // Each fails for root too: a settings "directory" that is a file, and a DefaultFile.txt that
    // is a directory.
    const std::string asFile = root.write("not-a-directory", "x");
    const std::string asDirectory = root.mkdir("blocked/DefaultFile.txt");
    for (const std::string& settingsDirectory : {asFile, root.file("blocked")}) {
        settings.scriptSettingsDirectory = settingsDirectory;
        state = PlainWindowState();
        ASSERT_TRUE(pick({drawings + test::kSep + "a.dwg"}));
        EXPECT_EQ(state.drawingDirectory(), drawings);
        EXPECT_EQ(state.selectedDrawings(), Names{"a.dwg"});
    }
    EXPECT_EQ(root.read("not-a-directory"), "x");
    EXPECT_TRUE(std::filesystem::is_directory(asDirectory));
    EXPECT_TRUE(std::filesystem::is_empty(asDirectory));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DrawingSelectionTest, DirectoryTheCodePageCannotHoldKeepsTheOldDefaultFileWhole) {
    ASSERT_TRUE(pick({drawings + test::kSep + "a.dwg"}));
    const std::string omega = root.mkdir("\xCE\xA9");  // U+03A9, not in Windows-1252
    root.write("\xCE\xA9/z.dwg", "");
    ASSERT_TRUE(pick({omega + test::kSep + "z.dwg"}));
    EXPECT_EQ(state.drawingDirectory(), omega);
    EXPECT_EQ(state.selectedDrawings(), Names{"z.dwg"});
    EXPECT_EQ(defaultFile(), drawings);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DrawingSelectionTest, AccentedDirectoryIsRememberedInWindows1252) {
    const std::string cafe = root.mkdir("Caf\xC3\xA9");  // "Café" in UTF-8
    root.write("Caf\xC3\xA9/m.dwg", "");
    ASSERT_TRUE(pick({cafe + test::kSep + "m.dwg"}));
    EXPECT_EQ(defaultFile(), root.path() + test::kSep + "Caf\xE9");
    EXPECT_EQ(state.selectedDrawings(), Names{"m.dwg"});
}

TEST_F(DrawingSelectionTest, DirectoryTheListCannotShowIsTakenAndLeavesNoOldDrawingsToBuild) {
    ASSERT_TRUE(pick({drawings, "a.dwg"}));
    const std::string gone = root.file("gone");
    ASSERT_TRUE(pick({gone, "x.dwg"}));
    EXPECT_EQ(state.drawingDirectory(), gone);
    EXPECT_EQ(state.drawingListPath(), gone);
    EXPECT_TRUE(state.drawingListEntries().empty());
    EXPECT_EQ(defaultFile(), gone);
    EXPECT_TRUE(dialogs.messages.empty());

    // The earlier pick must not come back as paths in a directory it does not belong to.
    state.setSetupText("zoom");
    script::buildInkrunScript(state, dialogs, settings);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "No files selected.");
}

TEST_F(DrawingSelectionTest, BuildAfterAPickWritesExactlyThePickedDrawings) {
    state.setSetupText("-plot\r\ny");
    state.setDescendingOrder(false);
    ASSERT_TRUE(pick({drawings, "d.dwg", "b.dwg"}));
    script::buildInkrunScript(state, dialogs, settings);

    EXPECT_EQ(root.read("jobs/Inkrun.scr"), test::expectedScript(drawings, {"b.dwg", "d.dwg"}, "-plot\r\ny"));
}

// Typed "jobs/sub/S.dwg" "jobs/G.dwg": the dialog gives the other folder's file as a path.
TEST_F(DrawingSelectionTest, PicksFromTwoFoldersAreRefusedAndChangeNothing) {
    root.mkdir("jobs/sub");
    root.write("jobs/sub/S.dwg", "");
    root.write("jobs/sub/G.dwg", "");  // the file a folder taken for all would mark
    root.write("jobs/G.dwg", "");
    ASSERT_TRUE(pick({drawings + test::kSep + "c.dwg"}));
    for (const Names& answer : {Names{drawings, "sub" + test::kSep + "S.dwg", "G.dwg"},
                                Names{drawings, "G.dwg", drawings + test::kSep + "sub" + test::kSep + "S.dwg"},
                                Names{drawings + test::kSep + "sub", "S.dwg", drawings + test::kSep + "G.dwg"}}) {
        dialogs.messages.clear();
        EXPECT_FALSE(pick(answer));
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_NE(dialogs.messages[0].text.find("more than one folder"), std::string::npos);
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(state.drawingDirectory(), drawings);
        EXPECT_EQ(state.selectedDrawings(), Names{"c.dwg"});
        EXPECT_EQ(defaultFile(), drawings);
    }
}

TEST_F(DrawingSelectionTest, PicksGivenAsPathsIntoOneFolderMarkThatFolder) {
    root.mkdir("jobs/sub");
    const std::string sub = drawings + test::kSep + "sub";
    root.write("jobs/sub/S.dwg", "");
    root.write("jobs/sub/T.dwg", "");
    root.write("jobs/sub/a.dwg", "");
    ASSERT_TRUE(pick({drawings, "sub" + test::kSep + "S.dwg", sub + test::kSep + "T.dwg"}));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(state.drawingDirectory(), sub);
    EXPECT_EQ(state.selectedDrawings(), (Names{"S.dwg", "T.dwg"}));
    EXPECT_EQ(defaultFile(), sub);
}

// A dialog that answers with a list of full paths (the Windows item dialog, Qt's) is turned into
// the answer above, which has no size to outgrow.
TEST(PickAnswer, FullPathsBecomeTheFolderAndNames) {
    EXPECT_EQ(pickAnswer({}, '/'), Names{});
    EXPECT_EQ(pickAnswer({"/jobs/a.dwg"}, '/'), Names{"/jobs/a.dwg"});
    EXPECT_EQ(pickAnswer({"/jobs/b.dwg", "/jobs/a.dwg"}, '/'), (Names{"/jobs", "b.dwg", "a.dwg"}));
    EXPECT_EQ(pickAnswer({"/jobs/a.dwg", "/jobs/sub/s.dwg"}, '/'), (Names{"/jobs", "a.dwg", "/jobs/sub/s.dwg"}));
    // A root keeps its separator, as the Windows dialog gives it.
    EXPECT_EQ(pickAnswer({"/a.dwg", "/b.dwg"}, '/'), (Names{"/", "a.dwg", "b.dwg"}));
    EXPECT_EQ(pickAnswer({"C:\\a.dwg", "C:\\b.dwg"}, '\\'), (Names{"C:\\", "a.dwg", "b.dwg"}));
    EXPECT_EQ(pickAnswer({"Z:\\jobs\\a.dwg", "Z:\\jobs\\b.dwg"}, '\\'), (Names{"Z:\\jobs", "a.dwg", "b.dwg"}));

    Names paths, expected{"Z:\\jobs"};
    for (int i = 0; i < 10000; ++i) {
        expected.push_back("D-" + std::to_string(i) + ".dwg");
        paths.push_back("Z:\\jobs\\" + expected.back());
    }
    EXPECT_EQ(pickAnswer(paths, '\\'), expected);
}

}  // namespace
}  // namespace inkrun::drawings
