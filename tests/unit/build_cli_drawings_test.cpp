// Where inkrun-build takes its drawings from beyond the window's list: a whole project tree, a
// list file, paths mapped for workstations of the other system, and the dry run that shows them.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>
#ifdef _WIN32
#include "platform/wide_text.h"
#include "platform/windows_api.h"
#endif

#include "build_cli_fixture.h"
#include "platform/ansi_codec.h"

namespace inkrun::cli {
namespace {

namespace fs = std::filesystem;

constexpr bool kOnWindows = platform::kPathSeparator == '\\';

// Hidden as the system hides a folder: by a leading dot, and on Windows by its attribute.
void hide(const std::string& path) {
#ifdef _WIN32
    const std::wstring wide = platform::widen(path);
    ASSERT_TRUE(SetFileAttributesW(wide.c_str(), GetFileAttributesW(wide.c_str()) | FILE_ATTRIBUTE_HIDDEN));
#else
    ASSERT_EQ(fs::path(path).filename().string().front(), '.');
#endif
}

// The paths of a script, in its order: the line after each "_open", unquoted.
std::vector<std::string> scriptPaths(const std::string& script) {
    std::vector<std::string> paths;
    for (std::size_t at = script.find("_open\r\n\""); at != std::string::npos;
         at = script.find("_open\r\n\"", at + 1)) {
        const std::size_t start = at + 8;
        paths.push_back(script.substr(start, script.find('"', start) - start));
    }
    return paths;
}

std::vector<std::string> reversed(std::vector<std::string> paths) {
    std::reverse(paths.begin(), paths.end());
    return paths;
}

// The fixture's drawing directory with a project tree below it: folders in the list's order
// (annex before Tower), a hidden folder, and on POSIX links back up the tree and across it.
class BuildCliTree : public BuildCli {
protected:
    BuildCliTree() {
        for (const char* name : {"Tower/T-2.dwg", "Tower/t-1.dwg", "Tower/Level 2/L.dwg", "annex/N.dwg",
                                 ".snapshots/S.dwg", "Tower/.old/O.dwg"}) {
            const std::string path = "jobs/" + std::string(name);
            dir.mkdir(path.substr(0, path.rfind('/')));
            dir.write(path, "");
        }
        hide(jobs + test::kSep + ".snapshots");
        hide(jobs + test::kSep + "Tower" + test::kSep + ".old");
#ifndef _WIN32
        fs::create_directory_symlink("..", jobs + "/Tower/up");     // a loop
        fs::create_directory_symlink("annex", jobs + "/zz-annex");  // annex a second time
#endif
    }

    std::string in(const std::string& folder, const std::string& name) const {
        return jobs + test::kSep + folder + test::kSep + name;
    }
    // Every drawing of the tree, in the list's order: each folder's drawings, then its folders.
    std::vector<std::string> treeOrder() const {
        std::vector<std::string> paths;
        for (const char* name : {"A-101.dwg", "a-102.dwg", "B-201.DWG", "C-301.dwg", "D-401.dwg"})
            paths.push_back(jobs + test::kSep + name);
        paths.push_back(in("annex", "N.dwg"));
        paths.push_back(in("Tower", "t-1.dwg"));
        paths.push_back(in("Tower", "T-2.dwg"));
        paths.push_back(in("Tower", "Level 2" + test::kSep + "L.dwg"));
        return paths;
    }
};

TEST_F(BuildCliTree, ATreeIsReadDepthFirstPassingOverHiddenFoldersAndReadingEachFolderOnce) {
    EXPECT_EQ(cliScript({"--recursive", "--asc"}, jobs), test::expectedScript(treeOrder(), kSlot1Setup));
    EXPECT_EQ(cliScript({"-r", "--all"}, jobs), test::expectedScript(reversed(treeOrder()), kSlot1Setup));
    // The script goes into the drawing directory, whichever folders its drawings are in.
    const CliRun result = run({"-r", "--dir", in("Tower", "Level 2"), "--asc", "-o", "-"});
    EXPECT_EQ(result.out, test::expectedScript({in("Tower", "Level 2" + test::kSep + "L.dwg")}, kSlot1Setup));
}

// Scripts written here for workstations of the other system: on Linux for Windows ones, under
// Wine for Linux ones. The longest FROM wins; the rest takes TO's separator.
TEST_F(BuildCliTree, AMappedBuildWritesThePathsOfTheOtherSystem) {
    const std::string tower = jobs + test::kSep + "Tower";
    const std::string jobsTo = kOnWindows ? "/mnt/jobs" : "J:\\jobs\\";
    const std::string towerTo = kOnWindows ? "/srv/tower/" : "\\\\server\\tower";
    const char to = kOnWindows ? '/' : '\\';
    std::vector<std::string> mapped;
    for (const char* name : {"A-101.dwg", "a-102.dwg", "B-201.DWG", "C-301.dwg", "D-401.dwg"})
        mapped.push_back((kOnWindows ? "/mnt/jobs/" : "J:\\jobs\\") + std::string(name));
    mapped.push_back(std::string(kOnWindows ? "/mnt/jobs" : "J:\\jobs") + to + "annex" + to + "N.dwg");
    const std::string towerMapped = kOnWindows ? "/srv/tower" : "\\\\server\\tower";
    mapped.push_back(towerMapped + to + "t-1.dwg");
    mapped.push_back(towerMapped + to + "T-2.dwg");
    mapped.push_back(towerMapped + to + "Level 2" + to + "L.dwg");

    EXPECT_EQ(cliScript({"-r", "--asc", "--map", tower + "=" + towerTo, "--map=" + jobs + "=" + jobsTo}, jobs),
              test::expectedScript(mapped, kSlot1Setup));
    // Names from the list, and a FROM that is the drawing directory itself.
    EXPECT_EQ(cliScript({"--map", jobs + "=" + jobsTo, "D-401.dwg", "A-101.dwg"}, jobs),
              test::expectedScript({mapped[4], mapped[0]}, kSlot1Setup));

    // FROM is compared as this system compares paths, and matches whole steps only.
    std::string otherCase = jobs;
    for (char& c : otherCase) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(run({"A-101.dwg", "--map", otherCase + "=" + jobsTo, "-o", "-"}).status,
              kOnWindows ? kExitSuccess : kExitBuildFailed);
    EXPECT_EQ(run({"A-101.dwg", "--map", jobs.substr(0, jobs.size() - 1) + "=" + jobsTo, "-o", "-"}).status,
              kExitBuildFailed);
}

TEST_F(BuildCliTree, AMappedPathThatWouldFailOnTheOtherSideWritesNothing) {
    dir.write("jobs/Inkrun.scr", "old");
    struct Case {
        std::vector<std::string> args;
        std::string said;
    };
    std::vector<Case> cases{
        // One drawing under no FROM: the script would stop there half-way.
        {{"-r", "--map", jobs + test::kSep + "Tower=J:\\tower"},
         "the drawing \"" + jobs + test::kSep + "A-101.dwg\" is under no --map FROM (" + jobs + test::kSep + "Tower)"},
        // The mapped path passes every check the path itself would.
        {{"--all", "--map", jobs + "=J:\\\xCE\xA9"}, "\xCE\xA9"},
        {{"--all", "--map", jobs + "=/mnt/\"x"}, "a double quote"},
    };
#ifndef _WIN32
    // Linux names that Windows would read as something else: the step is named.
    dir.write("jobs/Tower/R1:R2.dwg", "");
    dir.mkdir("jobs/rev.");
    dir.write("jobs/rev./plan.dwg", "");
    cases.push_back({{"--from-list", dir.write("colon.txt", "Tower/R1:R2.dwg"), "--map", jobs + "=J:\\jobs"},
                     "its step \"R1:R2.dwg\" holds ':'"});
    cases.push_back({{"--from-list", dir.write("rev.txt", "rev./plan.dwg"), "--map", jobs + "=J:\\jobs"},
                     "the drawing \"" + jobs +
                         "/rev./plan.dwg\" would be \"J:\\jobs\\rev.\\plan.dwg\" on Windows, but "
                         "its step \"rev.\" ends in a dot"});
#endif
    for (const Case& c : cases) {
        for (const std::vector<std::string>& extra : std::vector<std::vector<std::string>>{{}, {"-o", "-"}, {"-n"}}) {
            std::vector<std::string> args = c.args;
            args.insert(args.end(), extra.begin(), extra.end());
            const CliRun result = run(args);
            EXPECT_EQ(result.status, kExitBuildFailed) << c.said;
            EXPECT_EQ(result.out, "");
            EXPECT_NE(result.err.find(c.said), std::string::npos) << result.err;
            EXPECT_NE(result.err.find("Nothing was written."), std::string::npos) << result.err;
        }
    }
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), "old");
}

// A Windows TO that Windows would read as another folder, or as none, is a wrong command line.
TEST_F(BuildCli, AWindowsToThatWindowsReadsOtherwiseIsAWrongCommandLine) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"\\\\", "it names no server"},
        {"\\\\server\\", "it names no share after the server"},
        {"J:jobs", "it is relative to the drive's current folder"},
        {"J:\\jobs\\\\x", "it has two backslashes together"},
        {"J:/jo|bs", "its step \"jo|bs\" holds '|'"},
        {"\\\\?\\C:\\jobs", "its name \"?\" holds '?'"},
        {"J:\\rev.\\x", "its step \"rev.\" ends in a dot"},
        {"\\\\server\\share\\CON", "its step \"CON\" is the device CON"},
    };
    for (const auto& [to, said] : cases) {
        const CliRun result = run({"--all", "--map", jobs + "=" + to, "-o", "-"});
        EXPECT_EQ(result.status, kExitUsage) << to;
        EXPECT_NE(result.err.find("option '--map' cannot write paths for Windows under '"), std::string::npos)
            << result.err;
        EXPECT_NE(result.err.find(said), std::string::npos) << result.err;
    }
}

// A bare drive is the drive's root: in TO on both systems, and in FROM on Windows, where the
// system alone would take it for the drive's current folder.
TEST_F(BuildCli, ABareDriveInAMapIsTheDrivesRoot) {
    EXPECT_EQ(cliScript({"--map", jobs + "=J:", "A-101.dwg"}, jobs),
              test::expectedScript({"J:\\A-101.dwg"}, kSlot1Setup));
    if (!kOnWindows) return;
    std::string rest = jobs.substr(2);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    EXPECT_EQ(cliScript({"--map", jobs.substr(0, 2) + "=/z", "A-101.dwg"}, jobs),
              test::expectedScript({"/z" + rest + "/A-101.dwg"}, kSlot1Setup));
}

// A list in UTF-8 with its byte-order mark, and the same list in the code page: full paths and
// paths from the drawing directory, CR LF, blank lines and trailing blanks; "asc" keeps the
// list's order, "dsc" reverses it.
TEST_F(BuildCli, AListIsTakenInItsOrderInUtf8WithAByteOrderMarkOrInTheCodePage) {
    dir.mkdir("jobs/Caf\xC3\xA9");
    dir.write("jobs/Caf\xC3\xA9/\xC3\x9C-1.dwg", "");
    const std::string list =
        "D-401.dwg\r\n"
        "Caf\xC3\xA9/\xC3\x9C-1.dwg  \r\n"
        "\r\n"
        " \t\r\n" +
        jobs + test::kSep +
        "A-101.dwg\n"
        "./Caf\xC3\xA9/../C-301.dwg\n"
        "D-401.dwg";
    const std::string listFile = dir.write("list.txt", "\xEF\xBB\xBF" + list);
    const std::string ansiListFile = dir.write("list-1252.txt", platform::encodeWindows1252(list));
    const std::vector<std::string> order{
        jobs + test::kSep + "D-401.dwg", jobs + test::kSep + "Caf\xE9" + test::kSep + "\xDC-1.dwg",
        jobs + test::kSep + "A-101.dwg", jobs + test::kSep + "C-301.dwg", jobs + test::kSep + "D-401.dwg"};
    EXPECT_EQ(cliScript({"--asc", "--from-list", listFile}, jobs), test::expectedScript(order, kSlot1Setup));
    EXPECT_EQ(cliScript({"--from-list", ansiListFile}, jobs), test::expectedScript(reversed(order), kSlot1Setup));

    // From standard input; the script still goes into the drawing directory.
    const CliRun fromInput = run({"--asc", "--from-list", "-", "--dir", jobs}, settings, "\xEF\xBB\xBF" + list);
    EXPECT_EQ(fromInput.status, kExitSuccess) << fromInput.err;
    EXPECT_EQ(test::readFile(jobs + test::kSep + "Inkrun.scr"), test::expectedScript(order, kSlot1Setup));
}

TEST_F(BuildCli, AListLineThatNamesNoDrawingStopsTheBuildNamingIt) {
    dir.write("jobs/Inkrun.scr", "old");
    dir.mkdir("jobs/folder.dwg");
    dir.write("jobs/.hidden.dwg", "");
#ifdef _WIN32
    const std::wstring hidden = platform::widen(dir.file("jobs/.hidden.dwg"));
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
#endif
    dir.mkdir("jobs/Caf\xC3\xA9");
    dir.write("jobs/Caf\xC3\xA9/E.dwg", "");
    const std::string line1 = "A-101.dwg\r\n";
    const std::vector<std::pair<std::string, std::string>> cases{
        {line1 + "Tower/A-104.dwg\r\n", "line 2 of LIST, \"Tower/A-104.dwg\", names no drawing: " + jobs + test::kSep +
                                            "Tower" + test::kSep + "A-104.dwg: " + test::missingDirectoryReason()},
        {line1 + "\r\nnotes.txt", "line 3 of LIST, \"notes.txt\", names no drawing: " + jobs + test::kSep +
                                      "notes.txt is not a drawing: its name does not end in .dwg"},
        {line1 + "folder.dwg", "line 2 of LIST, \"folder.dwg\", names no drawing: " + jobs + test::kSep +
                                   "folder.dwg: it is a directory, not an ordinary file"},
        {line1 + ".hidden.dwg", "it is a hidden file"},
        // UTF-8 without its mark reads as the code page: the message says what to do.
        {"Caf\xC3\xA9/E.dwg", "The list reads as UTF-8 text: save it in UTF-8 with a byte-order mark, or in " +
                                  platform::ansiCodePageName()},
        {"\xEF\xBB\xBF"
         "A-101.dwg\n\xE9.dwg",
         "line 2 of LIST, \"\\xE9.dwg\", names no drawing: it is not valid UTF-8"},
    };
    for (const auto& [bytes, said] : cases) {
        const std::string listFile = dir.write("list.txt", bytes);
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"--from-list", listFile}, {"--from-list", listFile, "-o", "-"}, {"-n", "--from-list", listFile}}) {
            const CliRun result = run(args);
            EXPECT_EQ(result.status, kExitBuildFailed);
            EXPECT_EQ(result.out, "");
            std::string expected = said;
            if (const std::size_t at = expected.find("LIST"); at != std::string::npos)
                expected.replace(at, 4, listFile);
            EXPECT_NE(result.err.find(expected), std::string::npos) << result.err << "\nwanted: " << expected;
            EXPECT_NE(result.err.find("Nothing was written."), std::string::npos);
        }
    }
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), "old");

    // A list in UTF-16 is refused whole; a list that is not there is a wrong command line.
    const CliRun utf16 = run({"--from-list", dir.write("list.txt", std::string("\xFF\xFE"
                                                                               "A\0",
                                                                               4))});
    EXPECT_EQ(utf16.status, kExitBuildFailed);
    EXPECT_NE(utf16.err.find("it is UTF-16 text"), std::string::npos) << utf16.err;
    EXPECT_EQ(run({"--from-list", dir.file("none.txt")}).status, kExitUsage);
}

// Where the folder ignores case (Windows), a list line is written as the folder spells it, as a
// name on the command line is; where case counts (Linux), it names the file exactly, or none.
TEST_F(BuildCliTree, AListLineInAnotherCaseIsWrittenAsTheFolderSpellsIt) {
    const std::string list = dir.write("list.txt", "TOWER" + test::kSep + "LEVEL 2" + test::kSep + "l.DWG\r\n" + jobs +
                                                       test::kSep + "ANNEX" + test::kSep + "n.dwg\r\n");
    if (!kOnWindows) {
        EXPECT_EQ(run({"--from-list", list, "-o", "-"}).status, kExitBuildFailed);
        return;
    }
    EXPECT_EQ(cliScript({"--asc", "--from-list", list}, jobs),
              test::expectedScript({in("Tower", "Level 2" + test::kSep + "L.dwg"), in("annex", "N.dwg")}, kSlot1Setup));
}

// A drawing register written on the other system, read through --map: a line under a TO is the
// drawing under its FROM (a Windows TO in any case and with either slash), and the script writes
// TO; a line under no TO is read as ever. A line under a TO that two FROMs share could be either.
TEST_F(BuildCliTree, AListWrittenOnTheOtherSystemIsReadThroughTheMap) {
    const std::string tower = jobs + test::kSep + "Tower";
    const std::string jobsTo = kOnWindows ? "/mnt/jobs" : "J:\\jobs";
    const std::string towerTo = kOnWindows ? "/srv/tower" : "\\\\server\\tower";
    const std::string lines = kOnWindows ? "/mnt/jobs/annex/N.dwg\n/srv/tower/Level 2/L.dwg\nA-101.dwg\n"
                                         : "j:\\JOBS\\annex/N.dwg\r\n\\\\SERVER/tower\\Level 2\\L.dwg\r\nA-101.dwg\r\n";
    const std::string list = dir.write("register.txt", lines);
    const char to = kOnWindows ? '/' : '\\';
    const std::vector<std::string> written{jobsTo + to + "annex" + to + "N.dwg",
                                           towerTo + to + "Level 2" + to + "L.dwg", jobsTo + to + "A-101.dwg"};
    EXPECT_EQ(
        cliScript({"--asc", "--from-list", list, "--map", jobs + "=" + jobsTo, "--map", tower + "=" + towerTo}, jobs),
        test::expectedScript(written, kSlot1Setup));

    const CliRun either = run({"--from-list", list, "--map", jobs + "=" + jobsTo, "--map", tower + "=" + jobsTo});
    EXPECT_EQ(either.status, kExitBuildFailed);
    EXPECT_NE(either.err.find("line 1 of " + list + ", \"" + lines.substr(0, lines.find_first_of("\r\n")) +
                              "\", names no drawing: it is under " + jobsTo + ", the --map TO of both " + tower +
                              " and " + jobs + ", so it could be either"),
              std::string::npos)
        << either.err;
}

// The dry run runs every check of the build and prints what the build would write, in the
// order it writes it; it writes nothing, and fails as the build fails.
TEST_F(BuildCliTree, ADryRunWritesNothingAndPrintsTheOrderTheBuildWrites) {
    const std::size_t entries = entriesIn(jobs);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"-r", "--map", jobs + "=" + (kOnWindows ? "/mnt/jobs" : "J:\\jobs")}, {"--asc", "-r"}, {"--all"}}) {
        std::vector<std::string> dry = args;
        dry.push_back("--dry-run");
        const CliRun preview = run(dry);
        EXPECT_EQ(preview.status, kExitSuccess) << preview.err;
        EXPECT_EQ(entriesIn(jobs), entries) << "nothing is written";
        const std::string script = cliScript(args, jobs);
        const std::vector<std::string> paths = scriptPaths(script);
        std::string expected = "Setup: slot 1, " + settings + test::kSep + "Setup1.txt\nScript: " + jobs + test::kSep +
                               "Inkrun.scr\nDrawings, " + (args[0] == "--asc" ? "asc" : "dsc") + ", " +
                               std::to_string(paths.size()) + " in the order the script opens them:\n";
        for (const std::string& path : paths) expected += path + "\n";
        EXPECT_EQ(preview.out, expected);
    }
    // Where the script would go, and the setup it would take.
    EXPECT_NE(run({"-n", "--all", "--template", "-o", "-"})
                  .out.find("Setup: the built-in template\nScript: standard output\n"),
              std::string::npos);
    // Quiet, only its status speaks; a build that would fail fails the same way.
    EXPECT_EQ(run({"-qn", "--all"}).out, "");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--all", "--setup", dir.write("empty.txt", "")}, {"--dir", dir.mkdir("none here"), "--all"}}) {
        const CliRun build = run(args);
        std::vector<std::string> dry = args;
        dry.push_back("-n");
        const CliRun preview = run(dry);
        EXPECT_EQ(build.status, kExitBuildFailed);
        EXPECT_EQ(preview.status, build.status);
        EXPECT_EQ(preview.err, build.err);
        EXPECT_EQ(preview.out, "");
    }
    EXPECT_EQ(entriesIn(jobs), entries);
}

TEST(BuildCliChoices, DrawingsAreChosenOneWayOnly) {
    test::TempDir dir;
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--from-list", "x.txt", "A.dwg"},
                                               {"--from-list", "x.txt", "--all"},
                                               {"--from-list", "x.txt", "-r"},
                                               {"--from-list", "x.txt", "--from-list", "y.txt"},
                                               {"-r", "A.dwg"},
                                               {"--map", "/x", "--all"},
                                               {"--map", "=J:\\x", "--all"},
                                               {"--map", "/x=jobs", "--all"},
                                               {"--map", "/x=J:\\a", "--map", "/x=J:\\b", "--all"}}) {
        std::istringstream in;
        std::ostringstream out, err;
        EXPECT_EQ(runBuildCli(args, in, out, err, dir.path()), kExitUsage) << args[0] << " " << args[1];
        EXPECT_TRUE(err.str().starts_with("inkrun-build: ")) << err.str();
    }
}

}  // namespace
}  // namespace inkrun::cli
