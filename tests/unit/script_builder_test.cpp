#include <gtest/gtest.h>

#include "platform/ansi_codec.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include "app/command_frame.h"
#include "drawings/drawing_list.h"
#include "model/plain_window_state.h"
#include "platform/file_error.h"
#include "platform/file_io_testing.h"
#include "script/build_command.h"
#include "script/script_builder.h"
#include "support/expected_script.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace inkrun {
namespace {

using script::ScriptJob;
using test::ScriptedDialogs;
using test::TempDir;

// The bytes writeScript streams for a job, whole.
std::string streamed(ScriptJob job) {
    std::string bytes;
    script::writeScript(std::move(job), [&](std::string_view piece) { bytes.append(piece); });
    return bytes;
}

ScriptJob towerJob(bool descending, char separator) {
    ScriptJob job;
    job.directory = separator == '\\' ? "C:\\Jobs\\Tower" : "/jobs/tower";
    job.drawings = {"A-101.dwg", "A-103.dwg"};
    job.setupText = "zoom\r\nextents";
    job.descending = descending;
    job.separator = separator;
    return job;
}

TEST(ScriptFormat, WorkedExampleInBothOrdersAndBothSeparators) {
    for (const char* separator : {"\\", "/"}) {
        const std::string directory = separator[0] == '\\' ? "C:\\Jobs\\Tower" : "/jobs/tower";
        EXPECT_EQ(streamed(towerJob(false, separator[0])),
                  test::expectedScript(directory, {"A-101.dwg", "A-103.dwg"}, "zoom\r\nextents", separator));
        EXPECT_EQ(streamed(towerJob(true, separator[0])),
                  test::expectedScript(directory, {"A-103.dwg", "A-101.dwg"}, "zoom\r\nextents", separator));
    }
}

TEST(ScriptFormat, SetupIsReplayedAsHeldAndRootDirectoriesKeepTheirSeparator) {
    ScriptJob job = towerJob(false, '\\');
    job.directory = "C:\\";
    job.drawings = {"Site.dwg"};
    job.setupText = " close\r\ny\r\n";  // leading blank and final line break stay
    EXPECT_EQ(streamed(job), test::expectedScript({"C:\\\\Site.dwg"}, " close\r\ny\r\n"));

    job.setupText = "a\nb";  // lone line feeds are the setup's own: not rewritten
    EXPECT_EQ(streamed(job), test::expectedScript({"C:\\\\Site.dwg"}, "a\nb"));
}

TEST(ScriptFormat, TextIsWrittenInTheAnsiCodePage) {
    ScriptJob job = towerJob(false, '/');
    job.directory = "/jobs/caf\xC3\xA9";       // é
    job.drawings = {"Plan \xE2\x82\xAC.dwg"};  // €
    job.setupText = "-plot";
    EXPECT_EQ(streamed(job), test::expectedScript({"/jobs/caf\xE9/Plan \x80.dwg"}, "-plot"));
}

// Long lists go out in many gather writes, and a large setup is written from where it stands,
// not copied into each block: neither may show in the bytes.
TEST(ScriptFormat, LongListsAndLargeSetupsComeOutWhole) {
    ScriptJob job = towerJob(true, '/');
    job.drawings.clear();
    std::vector<std::string> written;  // as the script holds them, last first
    for (int i = 0; i < 700; ++i) {
        const std::string number = std::to_string(i);
        job.drawings.push_back(i % 3 ? "A-" + number + ".dwg" : "Caf\xC3\xA9 " + number + ".dwg");  // é
        written.insert(written.begin(), "/jobs/tower/" + (i % 3 ? "A-" + number : "Caf\xE9 " + number) + ".dwg");
    }
    std::string setup, encoded;  // 200 kB with ° and € across every cut
    for (int i = 0; i < 10'000; ++i) {
        setup += "-layer\r\n\xC2\xB0 set \xE2\x82\xAC\r\n";
        encoded += "-layer\r\n\xB0 set \x80\r\n";
    }
    for (const std::string& held : {std::string("zoom"), setup}) {
        job.setupText = held;
        EXPECT_EQ(streamed(job), test::expectedScript(written, held == setup ? encoded : held));
    }
}

TEST(ScriptSafety, NamesThatWouldBreakTheQuotingAreRefusedAndNamed) {
    for (const std::string& bad :
         {std::string("a\"b.dwg"), std::string("x.dwg\"\r\n_erase"), std::string("tab\there.dwg"),
          std::string("bell\x07.dwg"), std::string("c1\xC2\x85.dwg")}) {
        ScriptJob job = towerJob(false, '/');
        job.drawings = {"ok.dwg", bad};
        try {
            script::checkScriptJob(job);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const script::ScriptRefused& e) {
            // Named whole, with its control characters escaped.
            EXPECT_NE(std::string(e.what()).find("\"" + platform::escapeControls(bad) + "\""), std::string::npos)
                << e.what();
        }
    }
    ScriptJob job = towerJob(false, '/');
    job.directory = "/jobs/\"quoted\"";
    EXPECT_THROW(script::checkScriptJob(job), script::ScriptRefused);
}

TEST(ScriptSafety, CharactersTheCodePageCannotHoldAreRefusedNotReplaced) {
    ScriptJob job = towerJob(false, '/');
    job.drawings = {"\xCE\xA9mega.dwg"};  // Ω
    try {
        script::checkScriptJob(job);
        FAIL();
    } catch (const script::ScriptRefused& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("\xCE\xA9mega.dwg"), std::string::npos);
        EXPECT_NE(message.find("U+03A9"), std::string::npos);
    }
    job = towerJob(false, '/');
    job.setupText = "zoom \xE2\x86\x92 extents";  // →
    EXPECT_THROW(script::checkScriptJob(job), script::ScriptRefused);
}

// Each drawing's values cut from its path as the script writes it, whichever system's it is; a
// root's doubled separator stays in the path, not in the folder.
TEST(ScriptExpansion, ValuesComeFromEachPathAsWrittenInTheCodePage) {
    ScriptJob job;
    job.fullPaths = true;
    job.drawings = {"J:\\jobs\\Caf\xC3\xA9\\A-101.dwg", "/mnt/jobs/B.x.dwg"};
    job.setupText = "%DWGDIR%|%DWGFILE%|%dwgname%|%DWGPATH%|%%c";
    job.descending = false;
    job.expand = true;
    EXPECT_EQ(streamed(job),
              test::expectedScript({"J:\\jobs\\Caf\xE9\\A-101.dwg"},
                                   "J:\\jobs\\Caf\xE9|A-101.dwg|A-101|J:\\jobs\\Caf\xE9\\A-101.dwg|%c") +
                  test::expectedScript({"/mnt/jobs/B.x.dwg"}, "/mnt/jobs|B.x.dwg|B.x|/mnt/jobs/B.x.dwg|%c"));
    job = towerJob(false, '\\');
    job.directory = "C:\\";
    job.drawings = {"A.dwg"};
    job.setupText = "%DWGDIR%;%DWGPATH%";
    job.expand = true;
    EXPECT_EQ(streamed(job), test::expectedScript({"C:\\\\A.dwg"}, "C:\\;C:\\\\A.dwg"));
}

TEST(ScriptExpansion, AValueMisspeltOrWithoutADrawingIsRefusedNamingTheLine) {
    struct Case {
        std::string setup, preamble, said;
    };
    for (const Case& c : std::vector<Case>{
             {"zoom\r\n%DWGNAM%", "", "line 2 of the script setup (\"%DWGNAM%\") holds %DWGNAM%, which names no value"},
             {"plot 50%", "", "holds a percent sign that begins no %NAME%"},
             {"%DWGNAME", "", "holds a percent sign that begins no %NAME%"},
             {"zoom", "FILEDIA\r\n%DWGFILE%",
              "line 2 of the preamble (\"%DWGFILE%\") holds %DWGFILE%, a value of a drawing"},
         }) {
        ScriptJob job = towerJob(false, '/');
        job.setupText = c.setup;
        if (!c.preamble.empty()) job.preamble = c.preamble;
        job.expand = true;
        try {
            script::checkScriptJob(job);
            ADD_FAILURE() << "accepted " << c.setup << c.preamble;
        } catch (const script::ScriptRefused& e) {
            EXPECT_NE(std::string(e.what()).find(c.said), std::string::npos) << e.what();
        }
        job.expand = false;  // as text, the same lines pass
        EXPECT_NO_THROW(script::checkScriptJob(job));
    }
}

TEST(ScriptBatches, NumberedNamesSortInOrderAndOnlyTheyAreAnEarlierRunsLeftovers) {
    EXPECT_EQ(script::numberedScriptName("Inkrun.scr", 2), "Inkrun_002.scr");
    EXPECT_EQ(script::numberedScriptName("plot", 12), "plot_012");
    for (const char* name : {"Inkrun_004.scr", "INKRUN_0005.SCR"})
        EXPECT_TRUE(script::isNumberedScriptOf(name, "Inkrun.scr")) << name;
    for (const char* name : {"Inkrun.scr", "Inkrun_.scr", "Inkrun_mine.scr", "Inkrun_004.scr.bak", "xInkrun_004.scr"})
        EXPECT_FALSE(script::isNumberedScriptOf(name, "Inkrun.scr")) << name;

    const auto batches = script::cutIntoBatches(5, 2, "Inkrun.scr",
                                                [](const std::string& name) { return "/j/" + name; });
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[2].first, 4u);
    EXPECT_EQ(batches[2].count, 1u);
    EXPECT_EQ(batches[1].next, "/j/Inkrun_003.scr");
    EXPECT_FALSE(batches[2].next);
    EXPECT_THROW(script::cutIntoBatches(1000, 1, "Inkrun.scr", nullptr), script::ScriptRefused);
    EXPECT_THROW(script::cutIntoBatches(4, 2, "Inkrun.scr", [](const std::string&) { return std::string("/\"q"); }),
                 script::ScriptRefused);
}

class BuildCommand : public ::testing::Test {
protected:
    void SetUp() override {
        settings.scriptSettingsDirectory = dir.path();
        for (int i = 0; i < 10; ++i) dir.write("jobs/D" + std::to_string(i) + ".dwg", "");
    }
    std::string jobs() const { return dir.file("jobs"); }
    void show(const std::string& directory) {
        state.setDrawingDirectory(directory);
        drawings::setDrawingListPath(state, directory);
    }
    void build() { script::buildInkrunScript(state, dialogs, settings); }
    static std::string block(const std::string& directory, int drawing, const std::string& setup) {
        return test::expectedScript(directory, {"D" + std::to_string(drawing) + ".dwg"}, setup);
    }

    TempDir dir{};
    int made = (std::filesystem::create_directories(dir.file("jobs")), 0);
    ProgramSettings settings;
    PlainWindowState state;
    ScriptedDialogs dialogs;
};

TEST_F(BuildCommand, WritesTheSelectedEntriesInTheChosenOrderAndSaysWhere) {
    show(jobs());
    state.setSetupText("zoom");
    for (int i : {1, 4, 6}) state.select(static_cast<std::size_t>(i));

    state.setDescendingOrder(false);
    build();
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"),
              block(jobs(), 1, "zoom") + block(jobs(), 4, "zoom") + block(jobs(), 6, "zoom"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "File saved as: Inkrun.scr\rFile located: " + jobs());
    EXPECT_EQ(dialogs.messages[0].title, "Inkrun");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::None);

    state.setDescendingOrder(true);
    build();
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"),
              block(jobs(), 6, "zoom") + block(jobs(), 4, "zoom") + block(jobs(), 1, "zoom"));
}

TEST_F(BuildCommand, AnEmptySetupWinsOverAnEmptySelectionAndNothingIsWritten) {
    show(jobs());
    build();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Cannot build! No script present");
    EXPECT_EQ(dialogs.messages[0].title, "No Information");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);

    state.setSetupText("\r\n");  // only a line break: not empty
    build();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, "No files selected.");
    EXPECT_EQ(dialogs.messages[1].title, "No Files");
    EXPECT_EQ(dialogs.messages[1].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(std::filesystem::exists(dir.file("jobs/Inkrun.scr")));
}

// One script is left, under exactly its own name: also where the folder ignores case and
// replacing a file keeps the spelling it had (Windows), and where a folder that tells case apart
// holds old scripts beside it (Linux; on Windows where the folder can be made so, as under Wine).
TEST_F(BuildCommand, AnOldScriptInOtherCapitalsIsReplacedByInkrunScr) {
    show(jobs());
    state.setSetupText("zoom");
    state.select(0);
    for (const auto& [first, beside] : {std::pair{"INKRUN.SCR", "inkrun.scr"}, std::pair{"Inkrun.scr", "inkrun.SCR"}}) {
        dir.write(std::string("jobs/") + first, "old");
        test::writeBesideOtherCases(dir.file(std::string("jobs/") + beside), "older");
        build();
        EXPECT_EQ(dir.read("jobs/Inkrun.scr"), block(jobs(), 0, "zoom"));
        std::vector<std::string> scripts;
        for (const auto& entry : std::filesystem::directory_iterator(test::pathOf(jobs())))
            if (entry.path().extension() != ".dwg") scripts.push_back(test::textOf(entry.path().filename()));
        EXPECT_EQ(scripts, std::vector<std::string>{"Inkrun.scr"}) << first << " beside " << beside;
        EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::None);
    }
}

#ifndef _WIN32  // symbolic links need privileges on Windows
TEST_F(BuildCommand, NoLinkBetweenTheNamesLetsTheNewScriptBeDeleted) {
    namespace fs = std::filesystem;
    show(jobs());
    state.setSetupText("zoom");
    state.select(0);
    const std::string expected = block(jobs(), 0, "zoom");

    // Inkrun.scr leads to INKRUN.SCR: the script is written there and must stay.
    dir.write("jobs/INKRUN.SCR", "old");
    fs::create_symlink("INKRUN.SCR", dir.file("jobs/Inkrun.scr"));
    build();
    EXPECT_EQ(dir.read("jobs/INKRUN.SCR"), expected);
    EXPECT_TRUE(fs::is_symlink(dir.file("jobs/Inkrun.scr")));
    EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::None);
    fs::remove(dir.file("jobs/Inkrun.scr"));
    fs::remove(dir.file("jobs/INKRUN.SCR"));

    // Both names lead to one file in another directory.
    fs::create_directories(dir.file("elsewhere"));
    dir.write("elsewhere/kept.scr", "old");
    fs::create_symlink(dir.file("elsewhere/kept.scr"), dir.file("jobs/Inkrun.scr"));
    fs::create_symlink("../elsewhere/kept.scr", dir.file("jobs/inkrun.SCR"));
    build();
    EXPECT_EQ(dir.read("elsewhere/kept.scr"), expected);
    EXPECT_EQ(dir.read("jobs/inkrun.SCR"), expected);
    fs::remove(dir.file("jobs/Inkrun.scr"));
    fs::remove(dir.file("jobs/inkrun.SCR"));

    // Hard links: the new script is a new file, so the old name holds only the old one.
    dir.write("jobs/Inkrun.scr", "old");
    fs::create_hard_link(dir.file("jobs/Inkrun.scr"), dir.file("jobs/INKRUN.scr"));
    build();
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), expected);
    EXPECT_FALSE(fs::exists(dir.file("jobs/INKRUN.scr")));

    // A dangling link in capitals is no old script: left alone.
    fs::create_symlink("nowhere", dir.file("jobs/INKRUN.SCR"));
    build();
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), expected);
    EXPECT_TRUE(fs::is_symlink(dir.file("jobs/INKRUN.SCR")));
    EXPECT_EQ(dialogs.messages.size(), 4u);
}
#endif

#ifndef _WIN32  // permission bits; the read-only attribute is tested on its own
// The new script is in place, the old one stays: the window says both, as a warning.
TEST_F(BuildCommand, AReadOnlyOldScriptInOtherCapitalsIsReportedAsAWarning) {
    show(jobs());
    state.setSetupText("zoom");
    state.select(0);
    const std::string script = dir.file("jobs/Inkrun.scr");
    const std::string old = dir.write("jobs/INKRUN.SCR", "old, read-only");
    ::chmod(old.c_str(), 0444);
    std::exception_ptr caught;
    try {
        build();
    } catch (...) {
        caught = std::current_exception();
    }
    ASSERT_TRUE(caught);
    checkCommandError(caught, dialogs);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "The script is written to " + script + ", but the old script " + old +
                                            " could not be deleted: the file is read-only.");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), block(jobs(), 0, "zoom"));
    EXPECT_EQ(dir.read("jobs/INKRUN.SCR"), "old, read-only");
}
#endif

#ifndef _WIN32  // a file-size limit
// The old script in other capitals goes only once the new one is in place.
TEST_F(BuildCommand, AFailedWriteDeletesNoOldScript) {
    dir.write("jobs/Inkrun.scr", "the old script");
    dir.write("jobs/INKRUN.SCR", "an old variant");
    show(jobs());
    state.setSetupText(std::string(4000, 'x'));
    state.selectAll();

    // A file-size limit makes the write fail part-way, as a full disk would, even for root.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 10000;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(build(), platform::FileError);
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), "the old script");
    EXPECT_EQ(dir.read("jobs/INKRUN.SCR"), "an old variant");
    for (const auto& entry : std::filesystem::directory_iterator(jobs()))
        EXPECT_TRUE(entry.path().extension() != ".scr" || entry.path().filename().string()[0] != '.')
            << "temporary left behind: " << entry.path();
    EXPECT_TRUE(dialogs.messages.empty());
}
#endif

#ifndef _WIN32  // the read is counted on POSIX, where a directory read is the cost
// A nightly build in a directory unchanged since the last one reads it once: for the list, the
// old script in other capitals and the stale temporaries. What changes after the list was read
// is still seen.
TEST_F(BuildCommand, AnUnchangedDirectoryIsReadOnceAndLaterChangesAreSeen) {
    dir.write("jobs/Inkrun.scr", "last night's");
    test::stampFile(jobs(), -std::chrono::hours(24));
    state.setSetupText("zoom");
    const std::uint64_t before = platform::testing::directoryReadsSoFar();
    show(jobs());
    state.selectAll();
    build();
    EXPECT_EQ(platform::testing::directoryReadsSoFar() - before, 1u);

    test::stampFile(jobs(), -std::chrono::hours(24));
    show(jobs());
    state.selectAll();
    dir.write("jobs/INKRUN.SCR", "stored after the list was read");
    dir.write("jobs/.inkrun-Stale123.tmp", "left by a kill");
    test::stampFile(dir.file("jobs/.inkrun-Stale123.tmp"), -std::chrono::hours(1));
    build();
    EXPECT_FALSE(std::filesystem::exists(dir.file("jobs/INKRUN.SCR")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("jobs/.inkrun-Stale123.tmp")));

    // A link that led nowhere when the list was read, whose target is made elsewhere since: the
    // directory's stamps stay, and it is an old script all the same.
    std::filesystem::create_symlink("../kept/old.scr", dir.file("jobs/INKRUN.SCR"));
    test::stampFile(jobs(), -std::chrono::hours(24));
    show(jobs());
    state.selectAll();
    dir.mkdir("kept");
    dir.write("kept/old.scr", "made after the list was read");
    build();
    EXPECT_FALSE(std::filesystem::is_symlink(dir.file("jobs/INKRUN.SCR")));
}
#endif

TEST_F(BuildCommand, AMissingDirectoryIsReportedWithItsPath) {
    show(jobs());
    state.setSetupText("zoom");
    state.select(0);
    state.setDrawingDirectory(dir.file("gone"));  // edited by hand after the drawings were chosen
    try {
        build();
        FAIL();
    } catch (const platform::FileError& e) {
        EXPECT_EQ(e.path(), dir.file("gone") + test::kSep + "Inkrun.scr");
        EXPECT_NE(std::string(e.what()).find(test::missingDirectoryReason()), std::string::npos) << e.what();
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

#ifndef _WIN32  // Windows allows no quote or line break in a file name
TEST_F(BuildCommand, AnInjectedNameIsRefusedAndNothingIsWrittenOrDeleted) {
    dir.write("jobs/x.dwg\"\r\n_erase all\r\n\".dwg", "");
    dir.write("jobs/Inkrun.scr", "the old script");
    show(jobs());
    state.setSetupText("zoom");
    state.selectAll();
    EXPECT_THROW(build(), script::ScriptRefused);
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), "the old script");
}
#endif

TEST(ScriptScale, MoreThanAShortsWorthOfDrawingsIsNoLimit) {
    TempDir dir;
    ScriptJob job;
    job.directory = dir.path();
    job.setupText = "close";
    job.descending = false;
    char name[16];
    for (int i = 0; i < 40000; ++i) {
        std::snprintf(name, sizeof name, "D%d.dwg", i);
        job.drawings.emplace_back(name);
    }
    script::saveScript(job, "Inkrun.scr");
    const std::string bytes = dir.read("Inkrun.scr");
    const std::string last = test::expectedScript(dir.path(), {"D39999.dwg"}, "close");
    ASSERT_GE(bytes.size(), last.size());
    EXPECT_EQ(bytes.substr(bytes.size() - last.size()), last);
}

// What the window's box shows: the whole quoted text, a NUL, C1 controls and stray bytes escaped.
TEST(ScriptSafety, RefusalsReachTheBoxWholeAndEscaped) {
    ScriptJob job = towerJob(false, '/');
    job.directory = std::string("/jobs/a\0b\xC2\x9B", 11);
    ScriptedDialogs dialogs;
    try {
        script::checkScriptJob(job);
        ADD_FAILURE() << "accepted a NUL";
    } catch (...) {
        checkCommandError(std::current_exception(), dialogs);
    }
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("\"/jobs/a\\x00b\\u009B\""), std::string::npos) << dialogs.messages[0].text;

    dialogs.messages.clear();
    checkCommandError(std::make_exception_ptr(platform::FileError("read", std::string("/x\0y\x9B", 5), "Gone")),
                      dialogs);
    EXPECT_EQ(dialogs.messages.at(0).text, "Could not read /x\\x00y\\x9B: Gone");

    job.directory = "/jobs";
    job.drawings = {"caf\xE9.dwg"};  // a Latin-1 name on a UTF-8 system
    try {
        script::checkScriptJob(job);
        ADD_FAILURE() << "accepted bytes that are not UTF-8";
    } catch (const script::ScriptRefused& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("\"caf\\xE9.dwg\" is not valid UTF-8"), std::string::npos) << text;
        EXPECT_EQ(text.find("U+FFFD"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace inkrun
