// What only Windows has: file attributes, sharing modes, the shell and its windows.
#include <gtest/gtest.h>

#ifdef _WIN32

#include <chrono>
#include <sstream>
#include <tuple>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/help_command.h"
#include "drawings/drawing_list.h"
#include "frontends/cli/build_cli.h"
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/shell_open.h"
#include "platform/wide_text.h"
#include "platform/window_close.h"
#include "platform/windows_api.h"
#include "script/script_builder.h"
#include "support/expected_script.h"
#include "support/junction.h"
#include "support/temp_dir.h"

namespace inkrun::platform {
namespace {

using test::TempDir;
using Names = std::vector<std::string>;

Names entries(const TempDir& dir) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(test::pathOf(dir.path())))
        names.push_back(test::textOf(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

void addAttributes(const std::string& path, DWORD attributes) {
    const std::wstring wide = widen(path);
    ASSERT_TRUE(SetFileAttributesW(wide.c_str(), GetFileAttributesW(wide.c_str()) | attributes)) << path;
}

TEST(WindowsFiles, HiddenAndSystemFilesAreNoDrawingsAndNoSettings) {
    TempDir dir;
    for (const char* name : {"A-101.dwg", "B-201.DWG", "hidden.dwg", "system.dwg", "Setup1.txt"}) dir.write(name, "");
    dir.mkdir("folder.dwg");
    addAttributes(dir.file("hidden.dwg"), FILE_ATTRIBUTE_HIDDEN);
    addAttributes(dir.file("system.dwg"), FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(drawings::listDrawings(dir.path()), (Names{"A-101.dwg", "B-201.DWG"}));

    EXPECT_EQ(findOrdinaryFile(dir.path(), "setup1.TXT"), dir.file("Setup1.txt"));
    addAttributes(dir.file("Setup1.txt"), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(findOrdinaryFile(dir.path(), "Setup1.txt"), std::nullopt);
    for (const char* name : {"system.dwg", "folder.dwg", "*.dwg", "?-101.dwg", "A-101.dwg:stream", "..\\x"})
        EXPECT_EQ(findOrdinaryFile(dir.path(), name), std::nullopt) << name;
    EXPECT_TRUE(dirExists(dir.file("folder.dwg")));
    EXPECT_FALSE(dirExists(dir.file("A-101.dwg")));
}

TEST(WindowsFiles, ANameOutsideTheCodePageIsListedAndThenRefusedByName) {
    TempDir dir;
    const std::string omega = "\xCE\xA9-plan.dwg";  // Ω
    dir.write(omega, "");
    dir.write("Inkrun.scr", "the old script");
    ASSERT_EQ(drawings::listDrawings(dir.path()), Names{omega});  // found, not turned into '?'

    script::ScriptJob job;
    job.directory = dir.path();
    job.drawings = {omega};
    job.setupText = "zoom";
    try {
        script::saveScript(job, "Inkrun.scr");
        FAIL() << "wrote a name the code page cannot hold";
    } catch (const script::ScriptRefused& refused) {
        EXPECT_NE(std::string(refused.what()).find(omega), std::string::npos) << refused.what();
    }
    EXPECT_EQ(dir.read("Inkrun.scr"), "the old script");
}

TEST(WindowsFiles, ADriveRootDoublesTheBackslash) {
    std::string root = currentDirectory().substr(0, 3);  // "C:\"
    ASSERT_EQ(root.substr(1), ":\\");
    script::ScriptJob job;
    job.directory = root;
    job.drawings = {"A-101.dwg"};
    job.setupText = "zoom";
    const std::string path = script::saveScript(job, "Inkrun-test.scr");
    EXPECT_EQ(path, root + "\\Inkrun-test.scr");
    EXPECT_EQ(test::readFile(path), test::expectedScript(root, {"A-101.dwg"}, "zoom", "\\"));
    removeFile(path);
}

// Starts a program beside this one (tests/support, inkrun-build), in `directory` or in this
// program's current one; returns its process.
PROCESS_INFORMATION startHelper(const wchar_t* program, const std::wstring& arguments,
                                const wchar_t* directory = nullptr) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path helper = std::filesystem::path(self).parent_path() / program;
    std::wstring commandLine = L"\"" + helper.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory, &startup,
                               &process));
    return process;
}

// Waits for the program to end; returns its exit status.
DWORD endHelper(PROCESS_INFORMATION& process) {
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}

// Another program that reads the file without delete sharing, as most do, for `milliseconds`;
// returns once it holds it.
PROCESS_INFORMATION holdElsewhere(const std::string& path, int milliseconds) {
    PROCESS_INFORMATION process = startHelper(L"hold_file.exe",
                                              L"\"" + widen(path) + L"\" " + std::to_wstring(milliseconds));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
        HANDLE probe = CreateFileW(widen(path).c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        if (probe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) return process;
        if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "the helper never held " << path;
            return process;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Virus scanners, indexers and sync clients hold a new or replaced file for a moment.
TEST(WindowsFiles, AReplaceWaitsForAnotherProgramToLetGoForAMoment) {
    TempDir dir;
    const std::string target = dir.write("Inkrun.scr", "the old script");
    PROCESS_INFORMATION holder = holdElsewhere(target, 500);
    writeFileAtomically(target, "the new script");
    endHelper(holder);
    EXPECT_EQ(dir.read("Inkrun.scr"), "the new script");
    EXPECT_EQ(entries(dir), Names{"Inkrun.scr"});

    // Held for longer, the old file stays whole and the message says who held it.
    holder = holdElsewhere(target, 5000);
    try {
        writeFileAtomically(target, "lost");
        ADD_FAILURE() << "replaced a file held open";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), target);
        EXPECT_TRUE(error.reason().starts_with("another program held the file open for more than two seconds ("))
            << error.what();
    }
    EXPECT_EQ(dir.read("Inkrun.scr"), "the new script");
    EXPECT_EQ(entries(dir), Names{"Inkrun.scr"});
    endHelper(holder);
}

// cmd.exe hands "*.dwg" over as typed, and so must the program's start-up code: a C runtime that
// expanded it would match it in the current directory, not in the drawing directory.
TEST(WindowsCommandLine, APatternReachesInkrunBuildAsTyped) {
    TempDir dir;
    const std::string jobs = dir.mkdir("jobs");
    for (const char* name : {"jobs/A-1.dwg", "jobs/a-2.DWG", "here.dwg"}) dir.write(name, "");
    dir.write("Setup1.txt", "zoom");
    PROCESS_INFORMATION build = startHelper(L"inkrun-build.exe", L"-q --asc --dir \"" + widen(jobs) + L"\" *.dwg",
                                            widen(dir.path()).c_str());
    EXPECT_EQ(endHelper(build), 0u);
    EXPECT_EQ(dir.read("jobs/Inkrun.scr"), test::expectedScript(jobs, {"A-1.dwg", "a-2.DWG"}, "zoom"));
}

// The window passes over what the lookup does not see; an unattended build stops and says why.
TEST(WindowsFiles, HiddenOrSystemSettingsFilesStopTheBuild) {
    TempDir dir;
    const std::string settings = dir.mkdir("settings");
    const std::string jobs = dir.mkdir("jobs");
    dir.write("jobs/A.dwg", "");
    const std::string defaultFile = settings + test::kSep + "DefaultFile.txt";
    const std::string slot = settings + test::kSep + "Setup1.txt";
    test::writeFile(defaultFile, jobs);
    test::writeFile(slot, "zoom");
    const auto build = [&] {
        std::ostringstream out, err;
        const int status = cli::runBuildCli({"--all"}, out, err, settings);
        return std::make_pair(status, err.str());
    };
    for (const auto& [file, attribute, kind] :
         std::vector<std::tuple<std::string, DWORD, std::string>>{{defaultFile, FILE_ATTRIBUTE_HIDDEN, "hidden"},
                                                                  {slot, FILE_ATTRIBUTE_HIDDEN, "hidden"},
                                                                  {slot, FILE_ATTRIBUTE_SYSTEM, "system"}}) {
        addAttributes(file, attribute);
        const auto [status, err] = build();
        EXPECT_EQ(status, cli::kExitBuildFailed) << file;
        EXPECT_EQ(err, "inkrun-build: Could not read " + file + ": it is a " + kind + " file, not an ordinary file\n");
        SetFileAttributesW(widen(file).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    EXPECT_FALSE(std::filesystem::exists(test::pathOf(jobs + "\\Inkrun.scr")));
    EXPECT_EQ(build().first, cli::kExitSuccess);
}

TEST(WindowsFiles, AReadOnlyOldFileIsRefused) {
    TempDir dir;
    const std::string target = dir.write("Setup1.txt", "kept");
    addAttributes(target, FILE_ATTRIBUTE_READONLY);
    try {
        writeFileAtomically(target, "lost");
        FAIL() << "replaced a read-only file";
    } catch (const FileError& error) {
        EXPECT_EQ(error.what(), "Could not write " + target + ": the file is read-only");
    }
    EXPECT_EQ(dir.read("Setup1.txt"), "kept");
    EXPECT_EQ(entries(dir), Names{"Setup1.txt"});
}

TEST(WindowsFiles, DevicesAreNoOrdinaryFiles) {
    try {
        readWholeFile("NUL");
        FAIL() << "read a device";
    } catch (const FileError& error) {
        EXPECT_EQ(error.reason(), "not an ordinary file");
    }
}

TEST(WindowsFiles, TheTemporaryNameIsShortSoTheLongestNameStillSaves) {
    TempDir dir;
    const std::string name = std::string(251, 'n') + ".txt";  // 255 characters, the most a name may have
    writeFileAtomically(dir.file(name), "long");
    EXPECT_EQ(dir.read(name), "long");
    EXPECT_EQ(entries(dir), Names{name});
}

// A junction needs no privilege to make: the link rule follows one only when it belongs to the user,
// an administrator or the system. The user's own is followed, for reading and for writing. Wine 8
// makes no junctions (FSCTL_SET_REPARSE_POINT is not supported), so there the test is skipped.
TEST(WindowsFiles, AJunctionOfTheUsersOwnIsFollowed) {
    TempDir dir;
    const std::string target = dir.mkdir("target");
    if (!test::makeJunction(widen(dir.file("jobs")), widen(target)))
        GTEST_SKIP() << "this system makes no junctions (error " << GetLastError() << ")";
    writeFileAtomically(dir.file("jobs\\Inkrun.scr"), "through the junction");
    EXPECT_EQ(readWholeFile(dir.file("target\\Inkrun.scr")), "through the junction");
    EXPECT_EQ(listOrdinaryFiles(dir.file("jobs")), Names{"Inkrun.scr"});
}

TEST(WindowsShell, AMissingHelpDocumentGivesFileNotFound) {
    TempDir dir;
    const int result = startOpeningDocument(dir.file("readme.htm"), {});  // answered at once
    EXPECT_EQ(result, 2);
    EXPECT_EQ(shellErrorMessage(result), "File not found");
}

// The window lives in a second process, as a running copy of the program would.
TEST(WindowsShell, AWindowInAnotherProcessIsClosedByItsTitle) {
    const std::string title = "Inkrun close test " + std::to_string(GetCurrentProcessId());
    PROCESS_INFORMATION process = startHelper(L"win32_window.exe", L"\"" + widen(title) + L"\"");
    ASSERT_NE(process.hProcess, nullptr);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!FindWindowA(nullptr, title.c_str()) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    EXPECT_FALSE(closeWindowByTitle(title + " other", 0));
    // A window of another class keeps its title to itself: the helper's class is InkrunTestWindow.
    EXPECT_FALSE(closeWindowByTitleAndClass(title, "Inkrun Script Builder", 0));
    EXPECT_NE(FindWindowA(nullptr, title.c_str()), nullptr);
    EXPECT_TRUE(closeWindowByTitle(title, 10000));
    EXPECT_EQ(FindWindowA(nullptr, title.c_str()), nullptr);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u) << "3: WM_CLOSE without wParam 1 and lParam 1; 4: never asked";
    if (exitCode == STILL_ACTIVE) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_FALSE(closeWindowByTitle(title, 0));
}

}  // namespace
}  // namespace inkrun::platform

#endif
