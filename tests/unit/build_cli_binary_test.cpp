// The real inkrun-build, run through a shell: exit statuses, closed and full outputs, settings
// files that are not ordinary files.
#include <gtest/gtest.h>

// POSIX only: runs the program through fork and exec.
#ifndef _WIN32

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/program_arguments.h"
#include "support/as_user.h"
#include "support/expected_script.h"
#include "support/temp_dir.h"

namespace inkrun::cli {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

struct BinaryRun {
    int status;
    std::string out;
    std::string err;
};

std::string shellQuoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

// Settings remember "jobs", which holds A.dwg and B.dwg; slot 1 holds "zoom".
class BuildBinary : public ::testing::Test {
protected:
    BuildBinary() {
        settings = dir.mkdir("settings");
        jobs = dir.mkdir("jobs");
        dir.write("jobs/A.dwg", "");
        dir.write("jobs/B.dwg", "");
        dir.write("settings/DefaultFile.txt", jobs);
        dir.write("settings/Setup1.txt", "zoom");
    }

    // `args` and `redirect` are shell text; stdout and stderr are caught unless redirected.
    BinaryRun run(const std::string& args, const std::string& redirect = "", int memoryKiB = 4000000) {
        const std::string out = dir.file("out.txt"), err = dir.file("err.txt");
        const std::string command = "cd " + shellQuoted(settings) + " && ulimit -v " + std::to_string(memoryKiB) +
                                    " && timeout 20 " + runAs + shellQuoted(binary) + " " + args + " >" +
                                    shellQuoted(out) + " 2>" + shellQuoted(err) + " " + redirect;
        const int raw = std::system(("bash -c " + shellQuoted(command)).c_str());
        BinaryRun result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::readFile(out), test::readFile(err)};
        fs::remove(out);
        fs::remove(err);
        return result;
    }
    bool scriptIn(const std::string& directory) const { return fs::exists(directory + "/Inkrun.scr"); }

    // Root reads every folder: from here on the program runs as `user`, with a copy of itself
    // that the user may run, on files the user may read, and a drawing directory the user may write.
    void runAsUserWhenRoot(uid_t user = test::kPlanter) {
        if (::geteuid() != 0) return;
        binary = dir.file("inkrun-build");
        fs::copy_file(INKRUN_BUILD_BINARY, binary);
        for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
            fs::permissions(entry.path(), fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
        fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
        fs::permissions(jobs, fs::perms::others_all, fs::perm_options::add);
        const std::string id = std::to_string(user);
        runAs = "setpriv --reuid=" + id + " --regid=" + id + " --clear-groups ";
    }

    TempDir dir;
    std::string binary = INKRUN_BUILD_BINARY;
    std::string runAs;
    std::string settings;
    std::string jobs;
};

TEST_F(BuildBinary, BareRunShowsUsageAndVersionAndQuietWork) {
    BinaryRun result = run("");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(result.err.starts_with("Usage: inkrun-build")) << result.err;
    EXPECT_FALSE(scriptIn(jobs));

    result = run("-V");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, inkrun::versionText("inkrun-build"));

    result = run("--quiet --all");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(scriptIn(jobs));
}

// A subfolder the job may not read: its drawings are left out, the script is written, and a
// warning names the folder with status 3. A dry run says the same.
TEST_F(BuildBinary, ASubfolderThatCannotBeReadIsNamedInAWarningAndGivesThree) {
    dir.mkdir("jobs/Open");
    dir.write("jobs/Open/O.dwg", "");
    const std::string locked = dir.mkdir("jobs/Locked");
    dir.write("jobs/Locked/L.dwg", "");
    runAsUserWhenRoot();
    ::chmod(locked.c_str(), 0);
    const std::string warning = "inkrun-build: warning: Could not list " + locked +
                                ": Permission denied: the script leaves out its drawings\n";
    BinaryRun result = run("-n -r --asc");
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, warning);
    EXPECT_NE(result.out.find(":\n" + jobs + "/A.dwg\n" + jobs + "/B.dwg\n" + jobs + "/Open/O.dwg\n"),
              std::string::npos)
        << result.out;
    EXPECT_FALSE(scriptIn(jobs));

    result = run("-q -r");
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, warning);
    EXPECT_EQ(test::readFile(jobs + "/Inkrun.scr"),
              test::expectedScript({jobs + "/Open/O.dwg", jobs + "/B.dwg", jobs + "/A.dwg"}, "zoom"));
}

// An ordinary user's -o names a file in a shared folder, where another user planted that name as a
// link to the user's own file: refused, and the file is whole.
TEST_F(BuildBinary, OutputThroughALinkAnotherUserPlantedIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root, to be two other users";
    const std::string shared = dir.mkdir("shared");  // as /tmp
    const std::string own = dir.write("own.txt", "the user's own");
    runAsUserWhenRoot(test::kVictim);
    test::give(shared, 0, 01777);
    test::give(own, test::kVictim, 0644);
    test::plant(own, shared + "/out.scr", test::kPlanter);
    const BinaryRun result = run("--all -o " + shellQuoted(shared + "/out.scr"));
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.starts_with("inkrun-build: Could not write " + shared + "/out.scr: it is a symbolic link"))
        << result.err;
    EXPECT_EQ(test::readFile(own), "the user's own");
}

// A link to a folder that another user planted in a shared folder of the tree (to "/", it would
// walk the machine): left out with a warning, as a folder that cannot be read.
TEST_F(BuildBinary, ARecursiveBuildFollowsNoFolderLinkAnotherUserPlanted) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root, to be another user";
    const std::string shared = dir.mkdir("jobs/Shared");
    test::give(shared, 0, 01777);
    dir.write("jobs/Shared/S.dwg", "");
    test::plant("/", shared + "/everything", test::kPlanter);
    const BinaryRun result = run("-q -r");
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err,
              "inkrun-build: warning: Could not list " + shared +
                  "/everything: it is a symbolic link owned by another user (uid 65534) in a folder that "
                  "others may write to; the program does not follow it: the script leaves out its drawings\n");
    EXPECT_EQ(test::readFile(jobs + "/Inkrun.scr"),
              test::expectedScript({jobs + "/Shared/S.dwg", jobs + "/B.dwg", jobs + "/A.dwg"}, "zoom"));
}

// "-o log-link >>job.log", where the link leads to standard output: the script is added to the
// log as with "-o /dev/stdout", and no success line follows it.
TEST_F(BuildBinary, OutputThroughALinkToStandardOutputIsAddedToTheLog) {
    const std::string log = dir.write("job.log", "earlier lines\n");
    fs::create_symlink("/dev/stdout", dir.file("script-out"));
    const BinaryRun result = run("--all -o " + shellQuoted(dir.file("script-out")), ">>" + shellQuoted(log));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(test::readFile(log),
              "earlier lines\n" + test::expectedScript({jobs + "/B.dwg", jobs + "/A.dwg"}, "zoom"));
    EXPECT_TRUE(fs::is_symlink(dir.file("script-out")));
}

// A list piped in, its lines ended as a Windows editor ends them.
TEST_F(BuildBinary, AListIsReadFromAPipe) {
    const BinaryRun result = run("--asc --from-list - -o -",
                                 "< <(printf 'B.dwg\\r\\n%s/A.dwg\\r\\n' " + shellQuoted(jobs) + ")");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, test::expectedScript({jobs + "/B.dwg", jobs + "/A.dwg"}, "zoom"));
}

// A list that never ends (a runaway pipe) stops at a list's bounds, naming the list, quickly and
// in bounded memory; a list file past them is refused unread.
TEST_F(BuildBinary, AListThatNeverEndsStopsAtTheListsBounds) {
    const std::string tail = ", more than a drawing list may hold; split it into shorter lists";
    BinaryRun result = run("--from-list - -o -", "< <(yes A.dwg)", 200000);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "inkrun-build: Cannot build: the list standard input holds more than 1,000,000 lines" + tail +
                              ". Nothing was written.\n");
    result = run("--from-list - -o -", "< <(yes \"$(printf '%0999d.dwg' 0)\")", 200000);
    EXPECT_EQ(result.err,
              "inkrun-build: Cannot build: the list standard input is larger than 64.0 MiB (67,108,864 "
              "bytes)" +
                  tail + ". Nothing was written.\n");
    const std::string list = dir.write("list.txt", "A.dwg\n");
    ::truncate(list.c_str(), 1LL << 30);
    result = run("--from-list " + shellQuoted(list) + " -o -", "", 200000);
    EXPECT_EQ(result.err,
              "inkrun-build: Could not read " + list + ": it is larger than 64.0 MiB (67,108,864 bytes)" + tail + "\n");
}

TEST_F(BuildBinary, AWrittenScriptStaysASuccessWhenOnlyTheSuccessLineIsLost) {
    for (const std::string redirect : {">&-", ">/dev/full"}) {
        fs::remove(jobs + "/Inkrun.scr");
        const BinaryRun result = run("--all", redirect);
        EXPECT_EQ(result.status, 0) << redirect << ": " << result.err;
        EXPECT_TRUE(scriptIn(jobs)) << redirect;
        EXPECT_NE(result.err.find("the script is written, but its success message could not be printed"),
                  std::string::npos)
            << result.err;
    }
    // Where the output itself is lost, it is a failure.
    EXPECT_EQ(run("--all -o -", ">/dev/full").status, 1);
    EXPECT_EQ(run("--version", ">/dev/full").status, 1);
    EXPECT_EQ(run("--help", ">&-").status, 1);
}

TEST_F(BuildBinary, SettingsFilesThatAreNoOrdinaryFilesStopTheBuild) {
    struct Case {
        std::string name;  // the settings file, in the spelling it has on disk
        std::function<void(const std::string&)> make;
        std::string reason;
    };
    const std::vector<Case> cases{
        {"DefaultFile.txt", [](const std::string& p) { ::mkfifo(p.c_str(), 0644); }, "it is a FIFO"},
        {"DEFAULTFILE.TXT", [](const std::string& p) { ::mkfifo(p.c_str(), 0644); }, "it is a FIFO"},
        {"DefaultFile.txt", [](const std::string& p) { fs::create_directory(p); }, "it is a directory"},
        {"DefaultFile.txt", [](const std::string& p) { fs::create_symlink("/dev/zero", p); },
         "a symbolic link to a character device"},
        {"DefaultFile.txt", [this](const std::string& p) { fs::create_symlink(dir.file("gone"), p); }, "dangling"},
        {"DefaultFile.txt", [](const std::string& p) { fs::create_symlink(p, p); }, "loops"},
        {"Setup1.txt", [](const std::string& p) { ::mkfifo(p.c_str(), 0644); }, "it is a FIFO"},
        {"setup1.TXT", [](const std::string& p) { fs::create_directory(p); }, "it is a directory"},
        {"Setup1.txt", [this](const std::string& p) { fs::create_symlink(dir.file("gone"), p); }, "dangling"},
    };
    for (const Case& c : cases) {
        const std::string canonical = fs::path(c.name).filename().string();
        for (const char* name : {"DefaultFile.txt", "Setup1.txt"})
            if (fs::path(name).string().size() == c.name.size()) fs::remove(settings + "/" + name);
        fs::remove_all(settings + "/" + c.name);
        c.make(settings + "/" + c.name);
        const BinaryRun result = run("--all");
        EXPECT_EQ(result.status, 1) << c.name << " " << c.reason;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(settings + "/" + c.name), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
        EXPECT_FALSE(scriptIn(settings)) << c.name;
        EXPECT_FALSE(scriptIn(jobs)) << c.name;
        fs::remove_all(settings + "/" + c.name);
        dir.write("settings/DefaultFile.txt", jobs);
        dir.write("settings/Setup1.txt", "zoom");
    }
}

TEST_F(BuildBinary, DefaultFileThatIsNoOnePathInTheCodePageIsReported) {
    const std::string accented = dir.mkdir("jobs/caf\xC3\xA9");  // é: E9 in the code page
    const std::vector<std::pair<std::string, std::string>> cases{
        {"\xEF\xBB\xBF" + jobs, "byte-order mark"},
        {jobs + "\r\n" + settings + "\r\n", "more than one line"},
        {jobs + "/caf\xC3\xA9", "reads as UTF-8"},
        {jobs + std::string("\0x", 2), "NUL"},
    };
    for (const auto& [bytes, reason] : cases) {
        dir.write("settings/DefaultFile.txt", bytes);
        const BinaryRun result = run("--all");
        EXPECT_EQ(result.status, 1) << reason;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_FALSE(scriptIn(settings)) << reason;
    }
    // The code page's own bytes, with the line end an editor adds, are taken.
    dir.write("settings/DefaultFile.txt", jobs + "/caf\xE9\n");
    dir.write("jobs/caf\xC3\xA9/P.dwg", "");
    const BinaryRun result = run("--all -q");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(scriptIn(accented));
}

TEST_F(BuildBinary, HugeFilesAreRefusedUnreadAndNamed) {
    // 1 GiB, sparse: refused by its size, never read.
    ::truncate(dir.write("settings/DefaultFile.txt", jobs).c_str(), 1LL << 30);
    BinaryRun result = run("--all");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("longer than any directory path"), std::string::npos) << result.err;

    // A setup larger than the memory the job may have is refused before it is read.
    dir.write("settings/DefaultFile.txt", jobs);
    ::truncate(dir.file("settings/Setup1.txt").c_str(), 1LL << 40);
    result = run("--all");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(settings + "/Setup1.txt: at 1.0 TiB (1,099,511,627,776 bytes) it is larger than the "),
              std::string::npos)
        << result.err;

    // One that passes that check but cannot be held is named all the same.
    ::truncate(dir.file("settings/Setup1.txt").c_str(), 290LL << 20);
    result = run("--all", "", 300000);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(settings + "/Setup1.txt: at 290.0 MiB (304,087,040 bytes) it is larger than the memory "
                                         "available"),
              std::string::npos)
        << result.err;
    EXPECT_FALSE(scriptIn(jobs));
}

// The setup is held once, in the form the script is written in, whatever the number of drawings:
// 100 MiB builds in 146 MiB of address space, where a second copy would not fit.
TEST_F(BuildBinary, ALargeSetupIsHeldOnce) {
    ::truncate(dir.file("settings/Setup1.txt").c_str(), 100LL << 20);
    const std::string null = test::characterDevice(dir, "null", 3);
    const BinaryRun result = run("--all -o " + shellQuoted(null), "", 150000);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("File saved as: null"), std::string::npos) << result.out;
}

// "-o /dev/stdout >>job.log" writes into the log the shell opened, as "-o -" would: the log grows.
TEST_F(BuildBinary, AnOutputNamingAnOpenStreamWritesIntoItAsItStands) {
    const std::string script = run("--all -o -").out;
    ASSERT_FALSE(script.empty());
    const std::string log = dir.write("job.log", "started\n");
    for (const std::string output : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
        const BinaryRun result = run("--all -o " + output, ">>" + shellQuoted(log));
        EXPECT_EQ(result.status, 0) << output << ": " << result.err;
    }
    const BinaryRun result = run("--all -o /dev/stderr", "2>>" + shellQuoted(log));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "File saved as: stderr\nFile located: /dev\n");
    EXPECT_EQ(test::readFile(log), "started\n" + script + script + script + script);
    EXPECT_FALSE(scriptIn(jobs));
}

TEST_F(BuildBinary, RelativeRememberedDirectoryIsTakenFromTheSettingsDirectory) {
    dir.mkdir("settings/sub");
    dir.write("settings/sub/R.dwg", "");
    dir.write("settings/DefaultFile.txt", "sub");
    // Started elsewhere, with --settings: the path still starts in the settings directory.
    const BinaryRun result = run("--settings " + shellQuoted(settings) + " --all -o - ", "");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\"" + settings + "/sub/R.dwg\""), std::string::npos) << result.out;
}

TEST_F(BuildBinary, MessagesShowEveryControlAndStrayByteEscaped) {
    dir.write(
        "jobs/c1\xC2\x9B"
        "2J.dwg",
        "");  // CSI as a character
    BinaryRun result = run("--all");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("c1\\u009B2J.dwg"), std::string::npos) << result.err;
    fs::remove(jobs +
               "/c1\xC2\x9B"
               "2J.dwg");

    dir.write(
        "jobs/raw\x9B"
        "2J.dwg",
        "");  // CSI as a raw byte: no UTF-8 at all
    result = run("--all");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("raw\\x9B2J.dwg"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("not valid UTF-8"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("U+FFFD"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find('\x9B'), std::string::npos);
}

}  // namespace
}  // namespace inkrun::cli

#endif
