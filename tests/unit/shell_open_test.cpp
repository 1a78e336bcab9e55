#include "platform/shell_open.h"

#include <gtest/gtest.h>

#ifndef _WIN32

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <string>

#include "support/stand_in_opener.h"
#include "support/temp_dir.h"

namespace {

using inkrun::platform::startOpeningDocument;
using inkrun::test::TempDir;

// The answer given at once, or, when an opener started, the verdict it gives when it ends.
int openDocument(const std::string& path) {
    // Shared with the opener's thread, which may outlive a test that gave up on it.
    auto verdict = std::make_shared<std::promise<int>>();
    std::future<int> later = verdict->get_future();
    const int atOnce = startOpeningDocument(path, [verdict](int result) { verdict->set_value(result); });
    if (atOnce != 33) return atOnce;
    if (later.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        ADD_FAILURE() << "the opener never ended";
        return -1;
    }
    return later.get();
}

class ShellOpen : public ::testing::Test {
protected:
    void installOpener(int status, bool waitForRelease = false) {
        inkrun::test::installOpener(bin_, record_, status, waitForRelease);
    }

    std::string document(const std::string& name = "Plan 1.dwg") { return documents_.write(name, "drawing"); }
    bool openerRan() const { return std::filesystem::exists(record_.file("argument")); }
    std::string argument() const { return record_.read("argument"); }
    std::string argumentCount() const { return record_.read("count"); }

    inkrun::test::PathGuard path_;
    TempDir bin_;
    TempDir record_;
    TempDir documents_;
};

TEST_F(ShellOpen, MapsTheOpenersExitStatus) {
    const std::string path = document();
    struct Case {
        int status;
        int expected;
    };
    for (const Case c : {Case{0, 33}, Case{3, 31}, Case{4, 31}, Case{2, 2}, Case{1, 0}, Case{5, 0}}) {
        SCOPED_TRACE("exit status " + std::to_string(c.status));
        installOpener(c.status);
        EXPECT_EQ(openDocument(path), c.expected);
        EXPECT_EQ(argument(), path);
    }
}

TEST_F(ShellOpen, PassesTheNameAsOneUntouchedArgument) {
    installOpener(0);
    const std::string path = document("a b 'c' \"d\" $(touch pwned) `touch pwned2`; *.dwg");
    EXPECT_EQ(openDocument(path), 33);
    EXPECT_EQ(argument(), path);
    EXPECT_EQ(argumentCount(), "1");
    EXPECT_FALSE(std::filesystem::exists(documents_.file("pwned")));
    EXPECT_FALSE(std::filesystem::exists("pwned"));
    EXPECT_FALSE(std::filesystem::exists("pwned2"));
}

TEST_F(ShellOpen, HandsOverRelativeNamesAsAbsolutePaths) {
    // Relative, "-x.dwg" would read as an option and "mailto:x" as a URL.
    installOpener(0);
    const std::string dash = document("-x.dwg");
    const std::string scheme = document("mailto:x");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(documents_.path());
    const int dashResult = openDocument("-x.dwg");
    const std::string dashArgument = argument();
    const int schemeResult = openDocument("mailto:x");
    const std::string schemeArgument = argument();
    std::filesystem::current_path(before);

    EXPECT_EQ(dashResult, 33);
    EXPECT_EQ(std::filesystem::path(dashArgument), std::filesystem::path(dash));
    EXPECT_EQ(schemeResult, 33);
    EXPECT_EQ(std::filesystem::path(schemeArgument), std::filesystem::path(scheme));
}

TEST_F(ShellOpen, ReportsMissingFilesAndFoldersWithoutRunningTheOpener) {
    installOpener(0);
    EXPECT_EQ(openDocument(documents_.file("absent.dwg")), 2);
    EXPECT_EQ(openDocument(documents_.file("absent/plan.dwg")), 3);
    // A file standing where a folder should be: the path cannot exist.
    EXPECT_EQ(openDocument(document("plain") + "/plan.dwg"), 3);
    EXPECT_FALSE(openerRan());
}

TEST_F(ShellOpen, NoOpenerOnPathMeansNoProgram) {
    const std::string path = document();
    setenv("PATH", bin_.path().c_str(), 1);
    EXPECT_EQ(openDocument(path), 31);
}

TEST_F(ShellOpen, IgnoresOpenersInTheCurrentFolder) {
    // An empty PATH entry means "here": a planted opener next to the drawings must not run.
    installOpener(0);
    const std::string path = document();
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(bin_.path());
    setenv("PATH", ":.", 1);
    const int result = openDocument(path);
    std::filesystem::current_path(before);

    EXPECT_EQ(result, 31);
    EXPECT_FALSE(openerRan());
}

TEST_F(ShellOpen, AnswersWhileTheOpenerRunsAndGivesItsVerdictWhenItEnds) {
    // The opener stays until the test lets it go, as one does while its browser runs: a start
    // that waited for it would never return.
    installOpener(4, true);
    auto verdict = std::make_shared<std::promise<int>>();
    std::future<int> later = verdict->get_future();
    EXPECT_EQ(startOpeningDocument(document(), [verdict](int result) { verdict->set_value(result); }), 33);
    EXPECT_NE(later.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    record_.write("release", "");
    ASSERT_EQ(later.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    EXPECT_EQ(later.get(), 31);
}

}  // namespace

#endif
