#include "setup/kept_setups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace inkrun::setup {
namespace {

using Names = std::vector<std::string>;

constexpr platform::LocalTime kNoon{2026, 12, 3, 12, 0, 0};

// The files of a folder that are not hidden, by name.
Names namesIn(const test::TempDir& dir) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(test::pathOf(dir.path())))
        if (const std::string name = test::textOf(entry.path().filename()); name.front() != '.') names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

// Each setup goes under a name of its own, and the names sort by age whatever the clock says: the
// same second again, or a clock set back.
TEST(KeptSetups, EachIsKeptUnderANameOfItsOwnThatSortsByAge) {
    test::TempDir dir;
    const std::string folder = dir.file("data/inkrun");  // made when missing
    keepSetup(folder, "one", kNoon, true);
    keepSetup(folder, "two", kNoon);
    keepSetup(folder, "three", {2026, 12, 3, 11, 0, 0});
    keepSetup(folder, "four", {2026, 12, 31, 23, 59, 59});
    const Names expected{"Setup.unsaved.txt", "Setup.unsaved_2026-12-03_12-00-00.txt",
                         "Setup.unsaved_2026-12-03_12-00-01.txt", "Setup.unsaved_2026-12-31_23-59-59.txt"};
    Names found;
    for (const auto& entry : std::filesystem::directory_iterator(test::pathOf(folder)))
        found.push_back(test::textOf(entry.path().filename()));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, expected);
    const char* texts[] = {"one", "two", "three", "four"};
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(test::readFile(folder + test::kSep + expected[i]), texts[i]);
}

// Past the bound, room is made by dropping the oldest the person was told about, and only while
// it is as it was then: never one they were not told about, nor one they have saved over since.
TEST(KeptSetups, PastTheBoundOnlyTheOldestToldAboutAndUnchangedGo) {
    test::TempDir dir;
    for (std::size_t i = 0; i <= kMostKeptSetups; ++i) keepSetup(dir.path(), "kept " + std::to_string(i), kNoon);
    const Names all = namesIn(dir);
    ASSERT_EQ(all.size(), kMostKeptSetups + 1);  // nobody was told of any: all stay

    EXPECT_EQ(keptSetupsToTell(dir.path()).size(), all.size());
    dir.write(all[0], "saved over by its owner");
    keepSetup(dir.path(), "newest", kNoon);
    Names expected(all.begin() + 3, all.end());
    expected.insert(expected.begin(), all[0]);
    expected.push_back(namesIn(dir).back());
    EXPECT_EQ(namesIn(dir), expected);
    EXPECT_EQ(expected.size(), kMostKeptSetups);
}

// The person is told of each kept setup once, and a name once told about is never given to a new
// one: it would pass for the file they were told about.
TEST(KeptSetups, EachIsToldOnceAndNoToldNameIsGivenAgain) {
    test::TempDir dir;
    EXPECT_TRUE(keptSetupsToTell(dir.file("none")).empty());
    const std::string first = keepSetup(dir.path(), "one", kNoon);
    EXPECT_EQ(keptSetupsToTell(dir.path()), Names{first});
    EXPECT_TRUE(keptSetupsToTell(dir.path()).empty());
    std::filesystem::remove(test::pathOf(first));
    const std::string second = keepSetup(dir.path(), "two", kNoon);
    EXPECT_EQ(second, dir.file("Setup.unsaved_2026-12-03_12-00-00.txt"));
    EXPECT_EQ(keptSetupsToTell(dir.path()), Names{second});
}

}  // namespace
}  // namespace inkrun::setup
