// What inkrun-build adds to the script for a run of many drawings: lines before and after the
// run, batches that start one another, values taken from each drawing, going on after a given
// drawing, and the warnings and dry run that come before the run.
#include <filesystem>
#ifdef _WIN32
#include "platform/wide_text.h"
#include "platform/windows_api.h"
#else
#include <sys/stat.h>
#endif

#include "build_cli_fixture.h"

namespace inkrun::cli {
namespace {

constexpr bool kOnWindows = platform::kPathSeparator == '\\';

// Read-only as the system marks it; on Windows hidden too, as a lock file is.
void makeReadOnly(const std::string& path) {
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesW(platform::widen(path).c_str(), FILE_ATTRIBUTE_READONLY));
#else
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
#endif
}
void hideLockFile([[maybe_unused]] const std::string& path) {
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesW(platform::widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
#endif
}

class BuildCliScript : public BuildCli {
protected:
    std::string in(const std::string& name) const { return jobs + test::kSep + name; }
    std::string blocks(const std::vector<std::string>& names) const {
        return test::expectedScript(jobs, names, kSlot1Setup);
    }
    std::string quiet = dir.write("quiet.txt", "FILEDIA\r\n0\r\n");  // its last line end adds no empty line
};

TEST_F(BuildCliScript, ThePreambleAndEpilogueStandOnceAroundTheBlocksInTheCodePage) {
    const std::string back = dir.write("back.txt", "FILEDIA\r\n1\r\n_.-layer caf\xE9");
    EXPECT_EQ(cliScript({"--preamble", quiet, "--epilogue", back, "--asc", "A-101.dwg", "C-301.dwg"}, jobs),
              test::expectedScript(blocks({"A-101.dwg", "C-301.dwg"}),
                                   {{"FILEDIA", "0"}, {"FILEDIA", "1", "_.-layer caf\xE9"}, {}}));

    // Asked for, its lines must be there.
    dir.write("jobs/Inkrun.scr", "old");
    const CliRun empty = run({"--all", "--preamble", dir.write("empty.txt", "")});
    EXPECT_EQ(empty.status, kExitBuildFailed);
    EXPECT_NE(empty.err.find("the preamble " + dir.file("empty.txt") + " is empty"), std::string::npos) << empty.err;
    EXPECT_EQ(run({"--all", "--epilogue", dir.file("none.txt")}).status, kExitUsage);
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), "old");
}

TEST_F(BuildCliScript, BatchesRunAloneEachButTheLastStartingTheNextAndAnEarlierRunsAreRemoved) {
    for (const char* name : {"Inkrun_004.scr", "Inkrun_0005.scr", "Inkrun_mine.scr", "Inkrun_004.scr.bak"})
        dir.write("jobs/" + std::string(name), "earlier");
    const CliRun result = run({"--preamble", quiet, "--batch", "2", "--all"});
    EXPECT_EQ(result.status, kExitSuccess) << result.err;
    EXPECT_EQ(result.out,
              "File saved as: Inkrun.scr to Inkrun_003.scr (3 scripts, each starting the next)\nFile "
              "located: " +
                  jobs + "\nRemoved, left by an earlier run: Inkrun_0005.scr, Inkrun_004.scr\n");
    const std::vector<std::string> quietLines{"FILEDIA", "0"};
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"),
              test::expectedScript(blocks({"D-401.dwg", "C-301.dwg"}), {quietLines, {}, in("Inkrun_002.scr")}));
    EXPECT_EQ(dir.read("jobs/Inkrun_002.scr"),
              test::expectedScript(blocks({"B-201.DWG", "a-102.dwg"}), {quietLines, {}, in("Inkrun_003.scr")}));
    EXPECT_EQ(dir.read("jobs/Inkrun_003.scr"), test::expectedScript(blocks({"A-101.dwg"}), {quietLines, {}, {}}));
    EXPECT_FALSE(exists(in("Inkrun_004.scr")));
    EXPECT_TRUE(exists(in("Inkrun_mine.scr")) && exists(in("Inkrun_004.scr.bak")));

    // Each started by hand; named after the file -o names.
    const std::string night = dir.mkdir("night") + test::kSep;
    EXPECT_EQ(run({"--batch", "3", "--no-chain", "--all", "-o", night + "plot.scr"}).status, kExitSuccess);
    EXPECT_EQ(test::readFile(night + "plot.scr"), blocks({"D-401.dwg", "C-301.dwg", "B-201.DWG"}));
    EXPECT_EQ(test::readFile(night + "plot_002.scr"), blocks({"a-102.dwg", "A-101.dwg"}));

    // One script that cannot be written puts none in place.
    makeReadOnly(in("Inkrun_003.scr"));
    const CliRun refused = run({"--batch", "2", "--asc", "--all"});
    EXPECT_EQ(refused.status, kExitBuildFailed);
    EXPECT_NE(refused.err.find(in("Inkrun_003.scr")), std::string::npos) << refused.err;
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"),
              test::expectedScript(blocks({"D-401.dwg", "C-301.dwg"}), {quietLines, {}, in("Inkrun_002.scr")}));
    EXPECT_EQ(run({"--batch", "2", "--all", "-o", "-"}).status, kExitUsage);
}

// Scripts built here for workstations of the other system: every path the CAD program reads is
// theirs, the next script's and each drawing's value too.
TEST_F(BuildCliScript, UnderMapTheNextScriptAndEachDrawingsValuesAreTheWorkstations) {
    const std::string to = kOnWindows ? "/mnt/jobs" : "J:\\jobs";
    const std::string sep = kOnWindows ? "/" : "\\";
    const std::string map = jobs + "=" + to;
    CliRun result = run({"--map", map, "--batch", "3", "--preamble", quiet, "--all"});
    EXPECT_EQ(result.status, kExitSuccess) << result.err;
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"),
              test::expectedScript(test::expectedScript(to, {"D-401.dwg", "C-301.dwg", "B-201.DWG"}, kSlot1Setup, sep),
                                   {{"FILEDIA", "0"}, {}, to + sep + "Inkrun_002.scr"}));
    // Scripts in a folder under no FROM would start one out of their reach.
    result = run({"--map", map, "--batch", "3", "--all", "-o", dir.file("night.scr")});
    EXPECT_EQ(result.status, kExitBuildFailed);
    EXPECT_NE(result.err.find("is under no --map FROM"), std::string::npos) << result.err;

    const std::string pdf = "-plot\r\n%DWGDIR%" + sep + "%DWGNAME%.pdf\r\n%dwgfile% %DWGPATH% 100%%";
    const std::string setupFile = dir.write("pdf.txt", pdf);
    const auto plotted = [&](const std::string& name, const std::string& stem) {
        return test::expectedScript(
            {to + sep + name}, "-plot\r\n" + to + sep + stem + ".pdf\r\n" + name + " " + to + sep + name + " 100%");
    };
    EXPECT_EQ(cliScript({"--map", map, "--expand", "--setup", setupFile, "--asc", "B-201.DWG", "a-102.dwg"}, jobs),
              plotted("a-102.dwg", "a-102") + plotted("B-201.DWG", "B-201"));
    // Without --expand the setup is replayed as it stands.
    EXPECT_EQ(cliScript({"--setup", setupFile, "A-101.dwg"}, jobs), test::expectedScript(jobs, {"A-101.dwg"}, pdf));
}

// After a crash at a drawing, the script for the rest: in the order the script is written ("dsc"
// by default), after the drawing named by its file name or its path.
TEST_F(BuildCliScript, StartAfterGoesOnAfterTheNamedDrawingInTheScriptsOrder) {
    EXPECT_EQ(cliScript({"--all", "--start-after", "C-301.dwg"}, jobs),
              blocks({"B-201.DWG", "a-102.dwg", "A-101.dwg"}));
    EXPECT_EQ(cliScript({"--all", "--asc", "--start-after", in("C-301.dwg")}, jobs), blocks({"D-401.dwg"}));

    dir.write("jobs/Inkrun.scr", "old");
    const std::string twice = dir.write("twice.txt", "A-101.dwg\nC-301.dwg\nA-101.dwg\n");
    for (const auto& [args, status] : std::vector<std::pair<std::vector<std::string>, int>>{
             {{"--all", "--start-after", "Z-999.dwg"}, kExitUsage},
             {{"--from-list", twice, "--start-after", "A-101.dwg"}, kExitUsage},
             {{"--all", "--start-after", "A-101.dwg"}, kExitBuildFailed}}) {
        const CliRun result = run(args);
        EXPECT_EQ(result.status, status) << args.back() << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), "old");
}

TEST_F(BuildCliScript, WhatTheRunWouldTripOverIsWarnedAboutAndStrictWritesNothing) {
    dir.write("jobs/a-102.DWL", "");
    hideLockFile(dir.write("jobs/C-301.dwl2", ""));
    makeReadOnly(in("D-401.dwg"));
    dir.write("settings/Setup1.txt", "zoom \r\n_.plot\tx");
    const std::string said =
        "inkrun-build: warning: drawing 1 of 5, " + in("D-401.dwg") +
        ", is read-only: the CAD program would ask about that at _open, where the script answers something else\n"
        "inkrun-build: warning: drawing 2 of 5, " +
        in("C-301.dwg") + ", has a lock file beside it (" + in("C-301.dwl2") +
        "): someone may have it open, and the CAD program would ask about that at _open, where the script "
        "answers something else\n"
        "inkrun-build: warning: drawing 4 of 5, " +
        in("a-102.dwg") + ", has a lock file beside it (" + in("a-102.DWL") +
        "): someone may have it open, and the CAD program would ask about that at _open, where the script "
        "answers something else\n"
        "inkrun-build: warning: line 1 of the setup (slot 1, " +
        settings + test::kSep +
        "Setup1.txt) ends in a space, which the CAD program takes for one more Enter: \"zoom<SPACE>\"\n"
        "inkrun-build: warning: line 2 of the setup (slot 1, " +
        settings + test::kSep +
        "Setup1.txt) holds a tab, which the CAD program takes for one more Enter: \"_.plot<TAB>x\"\n";
    CliRun result = run({"--all", "-n"});
    EXPECT_EQ(result.status, kExitWrittenWithWarning);
    EXPECT_EQ(result.err, said);
    dir.write("jobs/Inkrun.scr", "old");
    result = run({"--all", "--strict"});
    EXPECT_EQ(result.status, kExitBuildFailed);
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), "old");
    std::string refused = said;
    for (std::size_t at; (at = refused.find(" warning:")) != std::string::npos;) refused.erase(at, 9);
    EXPECT_EQ(result.err,
              refused + "inkrun-build: --strict stops the build at the warnings above. Nothing was written.\n");

    result = run({"--all"});
    EXPECT_EQ(result.status, kExitWrittenWithWarning);
    EXPECT_EQ(result.err, said);
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"),
              test::expectedScript(jobs, {"D-401.dwg", "C-301.dwg", "B-201.DWG", "a-102.dwg", "A-101.dwg"},
                                   "zoom \r\n_.plot\tx"));
}

// The dry run of a job in batches with a preamble, going on after a drawing: the report, the
// report with every line the CAD program receives, and the JSON document.
TEST_F(BuildCliScript, ADryRunShowsTheBatchesTheLinesAndAJsonDocument) {
    dir.write("jobs/Inkrun_007.scr", "earlier");
    dir.write("settings/Setup1.txt", "zoom \r\nextents");
    const std::vector<std::string> args{"--asc", "--batch",       "2",         "--preamble",
                                        quiet,   "--start-after", "A-101.dwg", "--all"};
    const auto dryRun = [&](const char* format) {
        std::vector<std::string> dry = args;
        dry.push_back(format);
        const CliRun result = run(dry);
        EXPECT_EQ(result.status, kExitWrittenWithWarning);  // the space after zoom
        return result.out;
    };
    const std::string report = "Setup: slot 1, " + settings + test::kSep + "Setup1.txt\nPreamble: " + quiet +
                               "\nScripts, 2 of at most 2 drawings, each starting the next:\n" + in("Inkrun.scr") +
                               ": drawings 1 to 2\n" + in("Inkrun_002.scr") + ": drawings 3 to 4\n" +
                               "Removes, left by an earlier run: " + in("Inkrun_007.scr") +
                               "\nDrawings, asc, 4 after " + in("A-101.dwg") +
                               " (1 left out) in the order the scripts open them:\n" + in("a-102.dwg") + "\n" +
                               in("B-201.DWG") + "\n" + in("C-301.dwg") + "\n" + in("D-401.dwg") + "\n";
    EXPECT_EQ(dryRun("-n"), report);
    const auto block = [&](const std::string& name) { return "_open\n\"" + in(name) + "\"\nzoom<SPACE>\nextents\n"; };
    EXPECT_EQ(dryRun("--dry-run=blocks"), report + "\n==> " + in("Inkrun.scr") + " <==\nFILEDIA\n0\n" +
                                              block("a-102.dwg") + block("B-201.DWG") + "_script\n\"" +
                                              in("Inkrun_002.scr") + "\"\n\n==> " + in("Inkrun_002.scr") +
                                              " <==\nFILEDIA\n0\n" + block("C-301.dwg") + block("D-401.dwg"));
    // Backslashes of Windows paths are escaped in JSON.
    const auto json = [](std::string text) {
        for (std::size_t at = 0; (at = text.find('\\', at)) != std::string::npos; at += 2) text.insert(at, 1, '\\');
        return "\"" + text + "\"";
    };
    const std::string setupFile = settings + test::kSep + "Setup1.txt";
    EXPECT_EQ(dryRun("--dry-run=json"),
              "{\n  \"format\": \"inkrun-build dry run\",\n  \"version\": 1,\n  \"target\": " + json(in("Inkrun.scr")) +
                  ",\n  \"setup\": {\"source\": \"slot\", \"slot\": 1, \"file\": " + json(setupFile) +
                  "},\n  \"preamble\": " + json(quiet) +
                  ",\n  \"epilogue\": null,\n  \"order\": \"asc\",\n  \"expand\": false,\n  \"start_after\": "
                  "{\"drawing\": " +
                  json(in("A-101.dwg")) + ", \"left_out\": 1},\n  \"drawings\": [\n    " + json(in("a-102.dwg")) +
                  ",\n    " + json(in("B-201.DWG")) + ",\n    " + json(in("C-301.dwg")) + ",\n    " +
                  json(in("D-401.dwg")) + "\n  ],\n  \"batches\": [\n    {\"script\": " + json(in("Inkrun.scr")) +
                  ", \"first\": 1, \"last\": 2, \"next\": " + json(in("Inkrun_002.scr")) +
                  "},\n    {\"script\": " + json(in("Inkrun_002.scr")) +
                  ", \"first\": 3, \"last\": 4, \"next\": null}\n  ],\n  \"removes\": [\n    " +
                  json(in("Inkrun_007.scr")) +
                  "\n  ],\n  \"warnings\": [\n    {\"kind\": \"invisible-answer\", \"message\": \"line 1 of the setup "
                  "(slot 1, " +
                  json(setupFile).substr(1, json(setupFile).size() - 2) +
                  ") ends in a space, which the CAD program takes for one more Enter: \\\"zoom<SPACE>\\\"\", "
                  "\"path\": " +
                  json(setupFile) + ", \"line\": 1}\n  ]\n}\n");
    EXPECT_EQ(dir.read("jobs/Inkrun_007.scr"), "earlier");
    EXPECT_FALSE(exists(in("Inkrun.scr")));
}

TEST_F(BuildCliScript, BadValuesOfTheNewOptionsAreUsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"--all", "--batch", "0"},
                                                                                      {"--all", "--batch", "2x"},
                                                                                      {"--all", "--dry-run=xml"},
                                                                                      {"--all", "--dry-run="}}) {
        const CliRun result = run(args);
        EXPECT_EQ(result.status, kExitUsage) << args.back();
        EXPECT_NE(result.err.find("--help"), std::string::npos);
    }
}

}  // namespace
}  // namespace inkrun::cli
