#include "platform/file_lookup.h"

#include "platform/file_error.h"
#include "platform/file_io_testing.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace inkrun::platform {
namespace {

using inkrun::test::TempDir;

// A directory holding one of each kind of entry that must not count as an ordinary file.
#ifndef _WIN32  // FIFOs and symbolic links
struct MixedDir {
    TempDir dir;
    MixedDir() {
        dir.write("Setup1.txt", "");
        dir.write(".hidden", "");
        dir.mkdir("folder.txt");
        EXPECT_EQ(::mkfifo(dir.file("pipe.txt").c_str(), 0600), 0);
        EXPECT_EQ(::symlink("Setup1.txt", dir.file("Link.txt").c_str()), 0);
        EXPECT_EQ(::symlink("folder.txt", dir.file("dirlink.txt").c_str()), 0);
        EXPECT_EQ(::symlink("missing", dir.file("dangling.txt").c_str()), 0);
    }
};
#endif

TEST(FileLookupNames, JoinPathKeepsDirectoryAsGiven) {
    EXPECT_EQ(joinPath("/a/b", "c.dwg", '/'), "/a/b/c.dwg");
    EXPECT_EQ(joinPath("", "a", '/'), "/a");
    EXPECT_EQ(joinPath("/", "a", '/'), "//a");
    EXPECT_EQ(joinPath("C:\\jobs", "a.dwg", '\\'), "C:\\jobs\\a.dwg");
}

TEST(FileLookupNames, RelativePathsAreReadInTheBaseByEachSystemsRules) {
    // Paths of their own stay exactly as written, a bare drive included.
    for (const char* own : {"Q:", "Q:\\", "C:\\jobs\\", "\\\\server\\cad\\..\\jobs"})
        EXPECT_EQ(absolutePathFrom("C:\\Users\\me", own, '\\'), own);
    EXPECT_EQ(absolutePathFrom("/home/me", "/srv/jobs/", '/'), "/srv/jobs/");

    const auto windows = [](const char* base, const char* path) { return absolutePathFrom(base, path, '\\'); };
    EXPECT_EQ(windows("C:\\Users\\me", "jobs\\tower"), "C:\\Users\\me\\jobs\\tower");
    EXPECT_EQ(windows("C:\\Users\\me", ".\\jobs/./tower\\"), "C:\\Users\\me\\jobs\\tower");
    EXPECT_EQ(windows("C:\\Users\\me", "..\\..\\..\\jobs"), "C:\\jobs");  // never above the root
    EXPECT_EQ(windows("C:\\Users\\me", "..\\.."), "C:\\");
    EXPECT_EQ(windows("C:\\", "jobs"), "C:\\jobs");
    EXPECT_EQ(windows("C:\\Users\\me", "\\jobs"), "C:\\jobs");
    EXPECT_EQ(windows("\\\\server\\cad\\me", "\\jobs"), "\\\\server\\cad\\jobs");
    EXPECT_EQ(windows("\\\\server\\cad\\me", "..\\..\\jobs"), "\\\\server\\cad\\jobs");
    EXPECT_EQ(windows("c:\\Users\\me", "C:jobs"), "c:\\Users\\me\\jobs");  // that drive's folder is the base
    EXPECT_EQ(windows("C:\\Users\\me", "Q:jobs"), "Q:\\jobs");

    // On POSIX a ".." may cross a link: it stays for the system to follow.
    EXPECT_EQ(absolutePathFrom("/home/me", "./jobs//tower/", '/'), "/home/me/jobs/tower");
    EXPECT_EQ(absolutePathFrom("/home/me", "../jobs", '/'), "/home/me/../jobs");
    EXPECT_EQ(absolutePathFrom("/", "jobs", '/'), "/jobs");
}

TEST(FileLookupNames, FoldsEveryPairOfTheCodePage) {
    // The pairs outside Latin-1: Š/š, Œ/œ, Ž/ž, and Ÿ whose small letter ÿ is in Latin-1.
    EXPECT_EQ(foldCase("\u0160\u0152\u017D\u0178"), "\u0161\u0153\u017E\u00FF");
    EXPECT_EQ(foldCase("\u0161\u0153\u017E\u00FF"), "\u0161\u0153\u017E\u00FF");
    EXPECT_TRUE(equalsIgnoringCase("\u0178A.DWG", "\u00FFa.dwg"));
    EXPECT_TRUE(equalsIgnoringCase("\u0160KODA.dwg", "\u0161koda.DWG"));
    // Neighbours that are no pair stay apart: Ł/ł (not in the code page), ƒ and ß (no capital).
    EXPECT_EQ(foldCase("\u0141\u0192\u00DF\u0151"), "\u0141\u0192\u00DF\u0151");
    // A lead byte cut off at the end is left as it is.
    EXPECT_EQ(foldCase("A\xC5"), "a\xC5");
    // Names equal without regard to case share their fingerprint, however long.
    for (const auto& [a, b] : {std::pair{"\u0178A.DWG", "\u00FFa.dwg"},
                               {"\u0160KODA.dwg", "\u0161koda.DWG"},
                               {"Tower B - Level 12 - \u00C9TAGE.dwg", "tower b - level 12 - \u00E9tage.DWG"}})
        EXPECT_EQ(caseBlindFingerprint(a), caseBlindFingerprint(b)) << a;
    EXPECT_NE(caseBlindFingerprint("Inkrun.scr"), caseBlindFingerprint("Inkrun.sc"));
}

TEST(FileLookupNames, FoldsAsciiAndLatin1Letters) {
    EXPECT_EQ(foldCase("SETUP1.TXT"), "setup1.txt");
    EXPECT_EQ(foldCase("\u00C9T\u00C9 \u00DE\u00C0"), "\u00E9t\u00E9 \u00FE\u00E0");
    EXPECT_EQ(foldCase("\u00D7\u00DF\u0130\u03A9[@"), "\u00D7\u00DF\u0130\u03A9[@");
    EXPECT_TRUE(equalsIgnoringCase("Caf\u00C9.DWG", "caf\u00E9.dwg"));
    EXPECT_FALSE(equalsIgnoringCase("a.dwg", "a.dwgx"));
    EXPECT_FALSE(equalsIgnoringCase("\u00D7", "\u00F7"));
}

#ifndef _WIN32  // FIFOs and symbolic links
TEST(FileLookupDir, ListsOnlyOrdinaryFiles) {
    MixedDir mixed;
    std::vector<std::string> names = listOrdinaryFiles(mixed.dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Link.txt", "Setup1.txt"}));
    EXPECT_THROW(listOrdinaryFiles(mixed.dir.file("none")), FileError);
}
#endif

#ifndef _WIN32  // FIFOs and symbolic links
TEST(FileLookupDir, FindsExactOrOtherCaseButOnlyOrdinaryFiles) {
    MixedDir mixed;
    const std::string& d = mixed.dir.path();
    EXPECT_EQ(findOrdinaryFile(d, "Setup1.txt"), d + test::kSep + "Setup1.txt");
    EXPECT_EQ(findOrdinaryFile(d, "SETUP1.TXT"), d + test::kSep + "Setup1.txt");
    EXPECT_EQ(findOrdinaryFile(d, "link.TXT"), d + test::kSep + "Link.txt");
    EXPECT_EQ(findOrdinaryFile(d, "setup1.txt", '\\'), d + "\\Setup1.txt");
    for (const char* name :
         {".hidden", ".HIDDEN", "folder.txt", "pipe.txt", "dirlink.txt", "dangling.txt", "nothing.txt", "", "../"}) {
        EXPECT_EQ(findOrdinaryFile(d, name), std::nullopt) << name;
    }
    EXPECT_EQ(findOrdinaryFile(mixed.dir.file("none"), "Setup1.txt"), std::nullopt);
    EXPECT_EQ(findOrdinaryFile("", "Setup1.txt"), std::nullopt);

    EXPECT_TRUE(isOrdinaryFile(d, "Link.txt"));
    EXPECT_FALSE(isOrdinaryFile(d, "pipe.txt"));
}
#endif

#ifndef _WIN32  // names differing only in case need a case-sensitive directory
TEST(FileLookupDir, CaseInsensitiveMatchIsTheSmallestName) {
    TempDir dir;
    dir.write("setup1.TXT", "");
    dir.write("SETUP1.txt", "");
    dir.write("Setup1.txt", "");
    EXPECT_EQ(findOrdinaryFile(dir.path(), "setup1.txt"), dir.file("SETUP1.txt"));
}
#endif

TEST(FileLookupDir, NamesCannotReachOutsideTheDirectory) {
    TempDir dir;
    dir.write("outside.txt", "");
    const std::string inner = dir.mkdir("inner");
    EXPECT_EQ(findOrdinaryFile(inner, "../outside.txt"), std::nullopt);
    EXPECT_FALSE(isOrdinaryFile(dir.path(), "inner/../outside.txt"));
}

#ifndef _WIN32  // symbolic links
TEST(FileLookupDir, DirExists) {
    MixedDir mixed;
    EXPECT_TRUE(dirExists(mixed.dir.path()));
    EXPECT_TRUE(dirExists(mixed.dir.file("dirlink.txt")));
    EXPECT_FALSE(dirExists(mixed.dir.file("Setup1.txt")));
    EXPECT_FALSE(dirExists(mixed.dir.file("none")));
    EXPECT_FALSE(dirExists(""));
}
#endif

#ifndef _WIN32  // the record of a read is kept by the POSIX directory services
std::uint64_t readsDuring(const std::function<void()>& step) {
    const std::uint64_t before = testing::directoryReadsSoFar();
    step();
    return testing::directoryReadsSoFar() - before;
}

TEST(DirectoryRecord, AnUnchangedDirectoryIsReadOnceAndAChangedOneAgain) {
    TempDir dir;
    dir.write("Inkrun.scr", "");
    dir.write("A.dwg", "");
    test::stampFile(dir.path(), -std::chrono::hours(1));
    EXPECT_EQ(readsDuring([&] {
                  EXPECT_EQ(listOrdinaryFiles(dir.path()).size(), 2u);
                  EXPECT_EQ(listCaseVariants(dir.path(), "Inkrun.scr"), std::vector<std::string>{"Inkrun.scr"});
                  EXPECT_EQ(listCaseVariants(dir.path(), "Setup1.txt"), std::vector<std::string>{});
              }),
              1u);

    // Another spelling stored since: the stamps differ, and the directory is read again.
    dir.write("INKRUN.SCR", "");
    std::vector<std::string> variants;
    EXPECT_EQ(readsDuring([&] { variants = listCaseVariants(dir.path(), "Inkrun.scr"); }), 1u);
    std::sort(variants.begin(), variants.end());
    EXPECT_EQ(variants, (std::vector<std::string>{"INKRUN.SCR", "Inkrun.scr"}));
    // The record cannot spell out two names that fold alike: asking again reads again.
    EXPECT_EQ(readsDuring([&] { listCaseVariants(dir.path(), "Inkrun.scr"); }), 1u);
    // Nor is a read kept whose stamp a change made now could give again.
    test::stampFile(dir.path(), std::chrono::hours(1));
    EXPECT_EQ(readsDuring([&] { listCaseVariants(dir.path(), "A.dwg"); }), 1u);
    EXPECT_EQ(readsDuring([&] { listCaseVariants(dir.path(), "A.dwg"); }), 1u);
}
#endif

}  // namespace
}  // namespace inkrun::platform
