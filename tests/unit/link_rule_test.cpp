// Links one user plants for another: what a read or a write follows and what it refuses, as an
// ordinary user and as root.
#ifndef _WIN32  // the POSIX link rule; Windows has its own test
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/folder.h"
#include "support/as_user.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

namespace inkrun::platform {
namespace {

using test::kPlanter;
using test::kVictim;
using test::plant;
using test::TempDir;

// What a step did: "done", or the reason it was refused.
std::string outcome(const std::function<void()>& step) {
    try {
        step();
        return "done";
    } catch (const FileError& error) {
        return error.reason();
    }
}

std::string linkOf(const std::string& who, uid_t owner, const std::string& why) {
    return who + " is a symbolic link owned by another user (uid " + std::to_string(owner) + ")" + why;
}

// A shared machine: a sticky, world-writable folder (as /tmp) holding a 0755 folder of the
// planter's own; the victim's home, which only the victim may enter.
class PlantedLinks : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "needs root, to be two other users";
        test::give(dir.path(), 0, 0755);
        home = dir.mkdir("home");
        test::give(home, kVictim, 0700);
        test::give(dir.write("home/.profile", "the victim's own"), kVictim, 0644);
        shared = dir.mkdir("shared");
        test::give(shared, 0, 01777);
        own = dir.mkdir("shared/own");
        test::give(own, kPlanter, 0755);
        test::give(dir.write("shared/own/decoy.txt", "the planter's own"), kPlanter, 0644);
    }

    TempDir dir;
    std::string home, shared, own;
};

TEST_F(PlantedLinks, AnotherUsersLinkNeverLeadsAnOrdinaryUserToWhatIsNotTheirs) {
    const std::string profile = home + "/.profile";
    plant(profile, shared + "/out.scr", kPlanter);
    plant(profile, own + "/out.scr", kPlanter);
    plant(home + "/new.scr", own + "/new.scr", kPlanter);
    plant(home, own + "/jobs", kPlanter);
    plant("decoy.txt", own + "/setup.txt", kPlanter);
    const std::string seen = test::asUser(kVictim, [&] {
        std::string lines;
        for (const std::string name : {"/out.scr", "/own/out.scr", "/own/new.scr", "/own/jobs/new.scr"})
            lines += outcome([&] { writeFileAtomically(shared + name, "planted"); }) + "\n";
        lines += outcome([&] { readWholeFile(own + "/out.scr"); }) + "\n";
        // The planter's link to the planter's own file steers nobody anywhere.
        return lines + readWholeFile(own + "/setup.txt");
    });
    const std::string refused = "; the program does not follow it\n";
    const std::string toProfile = linkOf("it", kPlanter, " that leads to a file of uid 4242") + refused;
    EXPECT_EQ(seen, linkOf("it", kPlanter, " in a folder that others may write to") + refused + toProfile +
                        linkOf("it", kPlanter, " that leads to a new file in a folder of uid 4242") + refused +
                        linkOf(own + "/jobs", kPlanter, " that leads to a folder of uid 4242") + refused + toProfile +
                        "the planter's own");
    EXPECT_EQ(dir.read("home/.profile"), "the victim's own");
    EXPECT_FALSE(std::filesystem::exists(home + "/new.scr"));

    // The victim's own link, in the same folder, is followed.
    plant(profile, shared + "/mine.scr", kVictim);
    EXPECT_EQ(
        test::asUser(kVictim, [&] { return outcome([&] { writeFileAtomically(shared + "/mine.scr", "mine"); }); }),
        "done");
    EXPECT_EQ(dir.read("home/.profile"), "mine");
}

// Root's one rule more: the file itself only through root's own links. And the folder the planter
// made for the purpose leads root nowhere but into the planter's own things.
TEST_F(PlantedLinks, RootFollowsOnlyItsOwnLinksToTheFileAndAPlantersLinkOnlyToThePlantersThings) {
    const std::string secret = dir.write("secret", "root only");
    ASSERT_EQ(::chmod(secret.c_str(), 0600), 0);
    plant(secret, dir.file("Inkrun.scr"), kPlanter);
    ASSERT_EQ(::symlink("Inkrun.scr", dir.file("setup.txt").c_str()), 0);  // root's own, to the planted one
    plant(dir.path(), own + "/jobs", kPlanter);
    const std::string asRoot = "; running as root, the program does not ";
    EXPECT_EQ(outcome([&] { writeFileAtomically(dir.file("Inkrun.scr"), "planted"); }),
              linkOf("it", kPlanter, asRoot + "write through it"));
    EXPECT_EQ(outcome([&] { readWholeFile(dir.file("setup.txt")); }),
              linkOf(dir.file("Inkrun.scr"), kPlanter, asRoot + "read through it"));
    EXPECT_EQ(outcome([&] { Folder::open(own + "/jobs"); }),
              linkOf("it", kPlanter, " that leads to a folder of uid 0; the program does not follow it"));
    EXPECT_EQ(dir.read("secret"), "root only");

    const std::string theirs = dir.mkdir("shared/own/sub");
    test::give(theirs, kPlanter, 0777);
    plant("sub", own + "/theirs", kPlanter);
    ASSERT_EQ(::symlink(theirs.c_str(), dir.file("mine").c_str()), 0);
    writeFileAtomically(own + "/theirs/a.scr", "a");
    writeFileAtomically(dir.file("mine/b.scr"), "b");
    EXPECT_EQ(readWholeFile(theirs + "/a.scr") + readWholeFile(theirs + "/b.scr"), "ab");
}

}  // namespace
}  // namespace inkrun::platform
#endif
