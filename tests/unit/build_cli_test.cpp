#include <algorithm>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "app/program_arguments.h"
#include "build_cli_fixture.h"
#include "drawings/drawing_selection.h"
#include "frontends/cli/name_patterns.h"
#include "platform/ansi_codec.h"
#include "script/script_builder.h"

namespace inkrun::cli {
namespace {

namespace fs = std::filesystem;
using test::ScriptedDialogs;

// --- the same choices give the window's bytes ----------------------------------------------

TEST_F(BuildCli, MatchesTheWindowForSeveralOrdersSelectionsAndSetups) {
    const auto pick = [](std::initializer_list<std::size_t> rows) {
        return [rows](PlainWindowState& w, const ProgramSettings&) {
            for (std::size_t row : rows) w.select(row);
        };
    };
    // Start-up defaults: slot 1 and dsc; names in any order follow the list.
    EXPECT_EQ(cliScript({"C-301.dwg", "A-101.dwg"}, jobs), windowScript(pick({0, 3})));

    dir.write("settings/Setup2.txt", "-plot\r\ncaf\xE9\r\n");  // Windows-1252 é, read and written back
    EXPECT_EQ(cliScript({"--asc", "a-102.dwg", "D-401.dwg", "B-201.DWG"}, jobs), windowScript([&](auto& w, auto& s) {
                  pick({1, 2, 4})(w, s);
                  w.setDescendingOrder(false);
              }));
    EXPECT_EQ(cliScript({"--slot", "2", "--all"}, jobs), windowScript([](auto& w, auto& s) {
                  setup::loadSetupSlot(w, s, 2);
                  w.selectAll();
              }));
    EXPECT_EQ(cliScript({"--template", "--asc", "--all"}, jobs), windowScript([](auto& w, auto&) {
                  setup::loadDefaultSetup(w);
                  w.selectAll();
                  w.setDescendingOrder(false);
              }));

    // A setup file and another drawing directory, both chosen through the window's dialogs.
    const std::string other = dir.mkdir("other jobs");
    for (const char* name : {"x1.dwg", "X2.dwg", "x3.dwg"}) dir.write(std::string("other jobs/") + name, "");
    const std::string setupFile = dir.write("night.txt", "close\r\ny\r\n");
    const std::string fromWindow = windowScript([&](PlainWindowState& w, const ProgramSettings& s) {
        ScriptedDialogs dialogs;
        dialogs.answer(setupFile);
        setup::openSetupFile(w, s, dialogs);
        dialogs.answer(std::vector<std::string>{other, "x3.dwg", "x1.dwg"});
        drawings::openDrawingFiles(w, dialogs, s);
    });
    dir.write("settings/DefaultFile.txt", jobs);  // the window remembered "other jobs"
    EXPECT_EQ(cliScript({"--setup", setupFile, "--dir", other, "x1.dwg", "x3.dwg"}, other), fromWindow);
}

// --- defaults --------------------------------------------------------------------------------

TEST_F(BuildCli, DefaultsAreTheWindowsStartState) {
    // The drawing directory remembered in DefaultFile.txt, and the success lines on stdout.
    CliRun result = run({"A-101.dwg"});
    EXPECT_EQ(result.status, kExitSuccess);
    EXPECT_EQ(result.out, "File saved as: Inkrun.scr\nFile located: " + jobs + "\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(test::readFile(jobs + test::kSep + "Inkrun.scr"), test::expectedScript(jobs, {"A-101.dwg"}, kSlot1Setup));

    // dsc unless told otherwise.
    EXPECT_EQ(run({"A-101.dwg", "B-201.DWG"}).status, kExitSuccess);
    EXPECT_EQ(test::readFile(jobs + test::kSep + "Inkrun.scr"),
              test::expectedScript(jobs, {"B-201.DWG", "A-101.dwg"}, kSlot1Setup));

    // No DefaultFile.txt, or an empty one: the settings directory.
    for (bool keepFile : {true, false}) {
        dir.write("settings/DefaultFile.txt", "");
        if (!keepFile) fs::remove(settings + test::kSep + "DefaultFile.txt");
        dir.write("settings/S.dwg", "");
        result = run({"S.dwg"});
        EXPECT_EQ(result.status, kExitSuccess) << result.err;
        EXPECT_EQ(result.out, "File saved as: Inkrun.scr\nFile located: " + settings + "\n");
        EXPECT_TRUE(exists(settings + test::kSep + "Inkrun.scr"));
        fs::remove(settings + test::kSep + "Inkrun.scr");
    }
}

TEST_F(BuildCli, SettingsAndPathsStartInTheCurrentDirectory) {
    // CliRun from the temporary directory: --settings, --dir and --output are relative to it.
    dir.write("settings/Setup2.txt", "two");
    CliRun result = run({"--settings", "settings", "--slot=2", "--output", "out.scr", "C-301.dwg"}, dir.path());
    EXPECT_EQ(result.status, kExitSuccess) << result.err;
    EXPECT_EQ(result.out, "File saved as: out.scr\nFile located: " + dir.path() + "\n");
    EXPECT_EQ(dir.read("out.scr"), test::expectedScript(jobs, {"C-301.dwg"}, "two"));
    EXPECT_FALSE(exists(jobs + test::kSep + "Inkrun.scr"));

    result = run({"--settings", "settings", "--dir", "./jobs/", "--template", "-o", "-", "D-401.dwg"}, dir.path());
    EXPECT_EQ(result.status, kExitSuccess) << result.err;
    EXPECT_EQ(result.out, templateScript(jobs, "D-401.dwg"));
}

#ifndef _WIN32  // chmod and /proc/self/mem
TEST_F(BuildCli, UnreadableRememberedDirectoryStopsTheBuild) {
    const std::string defaultFile = settings + test::kSep + "DefaultFile.txt";
    if (::geteuid() == 0) {
        // Root reads any file; reading this one at offset 0 fails all the same.
        fs::remove(defaultFile);
        fs::create_symlink("/proc/self/mem", defaultFile);
    } else {
        ::chmod(defaultFile.c_str(), 0);
    }
    const CliRun result = run({"--all"});
    EXPECT_EQ(result.status, kExitBuildFailed);
    EXPECT_NE(result.err.find("DefaultFile.txt"), std::string::npos) << result.err;
    EXPECT_FALSE(exists(settings + test::kSep + "Inkrun.scr"));
}
#endif

// Where the window falls back to the settings directory, a job would build for the wrong folder
// (an unmounted share, a drive not mapped for a scheduled task): it stops, naming both.
TEST_F(BuildCli, ARememberedDirectoryThatIsGoneStopsTheBuild) {
    dir.write("settings/S.dwg", "");
    dir.write("settings/DefaultFile.txt", dir.file("removed"));
    const CliRun result = run({"--all"});
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("inkrun-build: DefaultFile.txt in " + settings + " remembers the drawing directory '" +
                                   dir.file("removed") +
                                   "', which does not exist. Name the drawing directory with --dir. Nothing was "
                                   "written.\n",
                               0),
              0u)
        << result.err;
    EXPECT_FALSE(exists(settings + test::kSep + "Inkrun.scr"));
}

// --- failures --------------------------------------------------------------------------------

TEST_F(BuildCli, UsageErrorsExitTwoAndTouchNothing) {
    dir.write("jobs/Inkrun.scr", "old");
    std::vector<std::vector<std::string>> cases{{"--bogus", "A-101.dwg"},
                                                {"-qx", "A-101.dwg"},
                                                {"--slot", "3", "A-101.dwg"},
                                                {"--all", "--dir"},
                                                {"--all", "-o"},
                                                {"--all=yes"},
                                                {"--all", "A-101.dwg"},
                                                {"A-101.dwg", "notes.txt"},  // there, but no drawing
                                                {"--dir", dir.file("none"), "--all"},
                                                {"--settings", dir.file("none"), "--all"},
                                                {"--setup", dir.file("none.txt"), "--all"},
                                                {"--locale", "dk", "--all"},
                                                {"--all", "-o", dir.file("none/out.scr")},
                                                {"-n", "--all", "--output=" + dir.file("none/out.scr")}};
#ifndef _WIN32
    // The shell has expanded patterns, and names are exact.
    cases.push_back({"a-101.dwg"});
    cases.push_back({"A-*.dwg"});
#endif
    for (const std::vector<std::string>& args : cases) {
        const CliRun result = run(args);
        EXPECT_EQ(result.status, kExitUsage) << args[0];
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("inkrun-build: ")) << result.err;
        EXPECT_NE(result.err.find("--help"), std::string::npos);
    }
    EXPECT_NE(run({"notes.txt"}).err.find("'notes.txt' is not a drawing in " + jobs), std::string::npos);
    EXPECT_NE(run({"--locale", "dk", "--all"}).err.find("unknown locale 'dk'; did you mean da-DK"), std::string::npos);
    EXPECT_NE(run({"-o", "none/out.scr", "--all"}, dir.path()).err.find("output directory '" + dir.file("none") + "'"),
              std::string::npos);
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), "old");
}

// A server building for an office abroad: the list in the order its workstations show, and the
// next build without --locale in the default order again.
TEST_F(BuildCli, LocaleOrdersTheListAsWindowsDoesThere) {
    const std::string office = dir.mkdir("aarhus");
    const std::vector<std::string> danish = {"Odense.dwg",        "Zealand.dwg", "\u00C6r\u00F8.dwg",
                                             "\u00D8sterbro.dwg", "Aalborg.dwg", "\u00C5rhus.dwg"};
    for (const std::string& name : danish) dir.write("aarhus/" + name, "");
    const auto script = [&](std::vector<std::string> names) {
        for (std::string& name : names) name = platform::encodeWindows1252(name);
        return test::expectedScript(office, names, kSlot1Setup);
    };
    EXPECT_EQ(run({"--locale", "da-DK", "--dir", office, "--all", "--asc", "-o", "-"}).out, script(danish));
    EXPECT_EQ(run({"--dir", office, "--all", "--asc", "-o", "-"}).out,
              script({"Aalborg.dwg", "\u00C6r\u00F8.dwg", "\u00C5rhus.dwg", "Odense.dwg", "\u00D8sterbro.dwg",
                      "Zealand.dwg"}));
}

TEST_F(BuildCli, BuildFailuresExitOneWithTheWindowsMessageAndWriteNothing) {
    dir.write("jobs/Inkrun.scr", "old");
    const std::string empty = dir.write("empty.txt", "");
    const std::string outFile = dir.file("out.scr");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    // The window's "No files selected." comes first; a second line tells a log where nothing was found.
    const std::string noDrawings = "No files selected.\ninkrun-build: ";
    const std::string bare = dir.mkdir("no drawings");
    dir.write("no drawings/notes.txt", "");
    const std::string blankList = dir.write("blank.txt", "\r\n  \r\n");
    std::vector<Case> cases{
        {{"--setup", empty, "--all"}, "Cannot build! No script present"},
        {{"--asc"}, noDrawings + "no drawing was named: give names, --all, --recursive or --from-list"},
        {{"--dir", bare, "--all"}, noDrawings + "no file matching *.dwg in " + bare},
        {{"--dir", bare, "-r"}, noDrawings + "no file matching *.dwg in " + bare + " or its subfolders"},
        {{"--from-list", blankList}, noDrawings + "the list " + blankList + " names no drawing"}};
    // An empty setup is reported before an empty selection, as in the window.
    cases.push_back({{"--setup", empty}, "Cannot build! No script present"});
    const std::vector<std::vector<std::string>> outputs{{}, {"-o", "-"}, {"-o", outFile}};
    for (const Case& c : cases) {
        for (const std::vector<std::string>& output : outputs) {
            std::vector<std::string> args = c.args;
            args.insert(args.end(), output.begin(), output.end());
            const CliRun result = run(args);
            EXPECT_EQ(result.status, kExitBuildFailed);
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.err, "inkrun-build: " + c.message + "\n") << c.args[0];
        }
    }
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), "old");
    EXPECT_FALSE(exists(outFile));
}

#ifndef _WIN32  // FIFOs, device nodes, permission bits and names differing only in case
// -o writes into a device or FIFO; its refusals reach standard error.
TEST_F(BuildCli, OutputIntoDevicesAndFifosNeverReplacesThem) {
    const std::string nullDevice = test::characterDevice(dir, "null", 3);
    const CliRun null = run({"A-101.dwg", "-o", nullDevice});
    EXPECT_EQ(null.status, kExitSuccess) << null.err;
    EXPECT_TRUE(fs::is_character_file(nullDevice));

    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const CliRun unread = run({"A-101.dwg", "-o", fifo});
    EXPECT_EQ(unread.status, kExitBuildFailed);
    EXPECT_EQ(unread.err, "inkrun-build: Could not write " + fifo + ": no program is reading from the FIFO\n");
    EXPECT_TRUE(fs::is_fifo(fifo));
}

// The settings directory is resolved before its files are read: the link rule is applied first.
TEST_F(BuildCli, RootReadsNoSettingsThroughALinkAnotherUserPlanted) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root";
    const std::string shared = dir.mkdir("shared");
    ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
    const std::string planted = shared + "/settings";
    ASSERT_EQ(::symlink(settings.c_str(), planted.c_str()), 0);
    ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
    const CliRun result = run({"--settings", planted, "--all"});
    EXPECT_EQ(result.status, kExitBuildFailed);
    EXPECT_EQ(result.err, "inkrun-build: Could not read " + planted +
                              ": it is a symbolic link owned by another user "
                              "(uid 65534) in a folder that others may write to; the program does not follow it\n");
    EXPECT_FALSE(exists(jobs + "/Inkrun.scr"));
}

TEST_F(BuildCli, AScriptWrittenBesideAnOldOneThatStaysExitsThree) {
    const std::string old = dir.write("jobs/INKRUN.SCR", "old");
    ::chmod(old.c_str(), 0444);
    const CliRun result = run({"A-101.dwg"});
    EXPECT_EQ(result.status, kExitWrittenWithWarning);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "inkrun-build: warning: The script is written to " + jobs +
                              "/Inkrun.scr, but the old "
                              "script " +
                              old + " could not be deleted: the file is read-only.\n");
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), test::expectedScript(jobs, {"A-101.dwg"}, kSlot1Setup));
    EXPECT_EQ(dir.read("jobs/INKRUN.SCR"), "old");
}
#endif

#ifndef _WIN32  // Windows allows no quote or line break in a file name
TEST_F(BuildCli, InjectedAndUnencodableNamesAreRefusedWithNothingWritten) {
    dir.write("jobs/Inkrun.scr", "old");
    // Each refusal is one line on stderr: control characters in a name are shown escaped.
    const std::vector<std::pair<std::string, std::string>> names{
        {"x.dwg\"\r\n_erase all.dwg", "x.dwg\"\\r\\n_erase all.dwg"},
        {"\x1B]0;owned\x07.dwg", "\\x1B]0;owned\\x07.dwg"},
        {"\xCE\xA9mega.dwg", "\xCE\xA9mega.dwg"}};
    for (const auto& [bad, shown] : names) {
        dir.write("jobs/" + bad, "");
        for (const std::vector<std::string>& args :
             std::vector<std::vector<std::string>>{{"--all"}, {bad, "-o", "-"}, {"--all", "-o", dir.file("out.scr")}}) {
            const CliRun result = run(args);
            EXPECT_EQ(result.status, kExitBuildFailed);
            EXPECT_EQ(result.out, "");
            EXPECT_NE(result.err.find(shown), std::string::npos) << result.err;
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
            EXPECT_NE(result.err.find("Nothing was written"), std::string::npos) << result.err;
        }
        fs::remove(jobs + test::kSep + "" + bad);
    }
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), "old");
    EXPECT_EQ(entriesIn(dir.path()), 2u) << "no output or temporary file is left behind";
}
#endif

// --- information ---------------------------------------------------------------------------

TEST_F(BuildCli, HelpVersionAndTemplateGoToStdout) {
    CliRun result = run({"--version"});
    EXPECT_EQ(result.status, kExitSuccess);
    EXPECT_EQ(result.out, versionText("inkrun-build"));

    result = run({"--print-template"});
    EXPECT_EQ(result.status, kExitSuccess);
    EXPECT_EQ(result.out, setup::defaultSetupTemplate());

    result = run({"--all", "--help"});
    EXPECT_EQ(result.status, kExitSuccess);
    EXPECT_EQ(result.out, usageText());
    EXPECT_FALSE(exists(jobs + test::kSep + "Inkrun.scr"));
}

// Every entry of the option table is accepted under each of its names and listed in the help,
// whose lines fit a terminal; every exit status is explained there.
TEST_F(BuildCli, EveryOptionOfTheTableIsParsedAndExplained) {
    const std::string help = usageText();
    for (const OptionSpec& option : optionTable()) {
        EXPECT_NE(help.find("  " + optionSynopsis(option) + " "), std::string::npos) << optionSynopsis(option);
        if (option.longName.empty()) continue;
        std::vector<std::string> names{"--" + std::string(option.longName)};
        if (option.shortName) names.push_back(std::string{'-', option.shortName});
        for (const std::string& name : names) {
            std::vector<std::string> args{name};
            if (!option.argument.empty()) args.push_back("1");
            args.push_back("--help");  // answers before anything is built
            const CliRun result = run(args);
            EXPECT_EQ(result.status, kExitSuccess) << name << ": " << result.err;
        }
    }
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 79u) << line;
    // The examples of this system: a Command Prompt's on Windows, a shell's elsewhere.
    const bool windows = platform::kPathSeparator == '\\';
    EXPECT_EQ(help.find("schtasks /Create") != std::string::npos, windows);
    EXPECT_EQ(help.find("(cron)") != std::string::npos, !windows);
    for (const ExitStatusSpec& exit : exitStatusTable())
        EXPECT_NE(help.find("\n  " + std::to_string(exit.status) + "  "), std::string::npos) << exit.status;
}

// The window falls back to the built-in template; an unattended job writes nothing unless asked.
TEST_F(BuildCli, WithoutASetupNothingIsWrittenAndTheMessageSaysHowToNameOne) {
    fs::remove(test::pathOf(settings + test::kSep + "Setup1.txt"));
    dir.write("settings/Setup2.txt", "two");
    const std::string how =
        "Name a setup with --setup FILE or --slot N, or take the built-in template with "
        "--template. Nothing was written.\n";
    for (const std::vector<std::string>& extra : std::vector<std::vector<std::string>>{{}, {"-n"}, {"-o", "-"}}) {
        std::vector<std::string> args{"--all"};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun result = run(args);
        EXPECT_EQ(result.status, kExitBuildFailed);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err,
                  "inkrun-build: No setup: there is no Setup1.txt (setup slot 1) in the settings "
                  "directory, " +
                      settings + " (the current directory). " + how);
    }
    EXPECT_FALSE(exists(jobs + test::kSep + "Inkrun.scr"));
    dir.write("settings/Setup1.txt", "one");
    fs::remove(test::pathOf(settings + test::kSep + "Setup2.txt"));
    EXPECT_EQ(run({"--slot", "2", "--all", "--settings", settings}, dir.path()).err,
              "inkrun-build: No setup: there is no Setup2.txt (setup slot 2) in the settings directory, " + settings +
                  " (named by --settings). " + how);
    EXPECT_FALSE(exists(jobs + test::kSep + "Inkrun.scr"));

    EXPECT_EQ(run({"--slot", "2", "--template", "A-101.dwg"}).status, kExitSuccess);  // the last choice counts
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), templateScript(jobs, "A-101.dwg"));
}

// GNU conventions: short options bundle, a value follows its option attached or apart, and a long
// option may be shortened while no other begins the same.
TEST_F(BuildCli, ShortOptionsBundleAndValuesAttach) {
    const std::string script = test::expectedScript(jobs, {"B-201.DWG"}, kSlot1Setup);
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"-qoout.scr", "B-201.DWG"},
                                               {"-qo", "out.scr", "B-201.DWG"},
                                               {"B-201.DWG", "-q", "--output=out.scr"},
                                               {"--quiet", "--output", "out.scr", "B-201.DWG"},
                                               {"--qui", "--out=out.scr", "B-201.DWG"}}) {
        const CliRun result = run(args, dir.path() + test::kSep + "settings");
        EXPECT_EQ(result.status, kExitSuccess) << args[0] << ": " << result.err;
        EXPECT_EQ(result.out, "") << args[0];
        EXPECT_EQ(dir.read("settings/out.scr"), script) << args[0];
        fs::remove(test::pathOf(dir.file("settings/out.scr")));
    }
    EXPECT_EQ(run({"-qn", "--all"}).out, "");
    EXPECT_EQ(run({"-qV"}).out, versionText("inkrun-build"));
    EXPECT_EQ(run({"-o-", "--asc", "-V"}).status, kExitSuccess);
    EXPECT_EQ(run({"--temp", "--out=-", "A-101.dwg"}).out, templateScript(jobs, "A-101.dwg"));
    const CliRun ambiguous = run({"--d", "--all"});
    EXPECT_EQ(ambiguous.status, kExitUsage);
    EXPECT_TRUE(ambiguous.err.starts_with(
        "inkrun-build: option '--d' is ambiguous; possibilities: '--dir' '--dsc' '--dry-run'\n"))
        << ambiguous.err;
}

#ifdef _WIN32
// cmd.exe hands patterns over as typed: the program matches them as Windows matches names.
TEST_F(BuildCli, OnWindowsPatternsAndNamesMatchWithoutRegardToCaseAndSlashQuestionMarkHelps) {
    EXPECT_EQ(run({"/?"}).out, usageText());
    EXPECT_EQ(cliScript({"--asc", "a-1*.DWG", "c-301.DWG", "?-4?1.*"}, jobs),
              test::expectedScript(jobs, {"A-101.dwg", "a-102.dwg", "C-301.dwg", "D-401.dwg"}, kSlot1Setup));
    const CliRun none = run({"A-101.dwg", "Z*.dwg"});
    EXPECT_EQ(none.status, kExitUsage);
    EXPECT_NE(none.err.find("'Z*.dwg' matches no drawing in " + jobs), std::string::npos) << none.err;
    EXPECT_FALSE(exists(jobs + "\\Inkrun.scr"));
}
#endif

TEST(NamePatterns, MatchAsWindowsMatchesNames) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    for (const Case& c : std::vector<Case>{{"*", "A-101.dwg", true},
                                           {"*.DWG", "a-101.dwg", true},
                                           {"A-1?1.dwg", "a-101.dwg", true},
                                           {"A-1?1.dwg", "A-11.dwg", false},
                                           {"A-1?.dwg", "A-101.dwg", false},
                                           {"*-*-*.dwg", "A-1-2.dwg", true},
                                           {"*-*-*.dwg", "A-12.dwg", false},
                                           {"\xC3\x89*", "\xC3\xA9tage.dwg", true},  // É and é
                                           {"?tage.dwg", "\xC3\xA9tage.dwg", true},  // one character, two bytes
                                           {"a*b*c", "aXbYbZc", true},
                                           {"a*b*c", "aXbYcZ", false}}) {
        EXPECT_EQ(matchesPattern(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
    }
    EXPECT_TRUE(hasWildcard("A?.dwg"));
    EXPECT_FALSE(hasWildcard("A-101.dwg"));
}

TEST_F(BuildCli, NamesAfterDoubleDashMayStartWithADash) {
    dir.write("jobs/-rev.dwg", "");
    const CliRun result = run({"--template", "-o", "-", "--", "-rev.dwg"});
    EXPECT_EQ(result.status, kExitSuccess) << result.err;
    EXPECT_EQ(result.out, templateScript(jobs, "-rev.dwg"));
}

}  // namespace
}  // namespace inkrun::cli
