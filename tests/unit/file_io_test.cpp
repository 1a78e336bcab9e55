#include "platform/file_io.h"

#include "platform/file_error.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace inkrun::platform {
namespace {

using inkrun::test::TempDir;

std::vector<std::string> entries(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

#ifndef _WIN32  // permission bits
mode_t permissions(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}
#endif

TEST(FileIoRead, ReadsBytesUnchanged) {
    TempDir dir;
    const std::string bytes = std::string("a\0b\r\n\xFF", 6) + std::string(3 << 20, 'x');
    EXPECT_EQ(readWholeFile(dir.write("f.bin", bytes)), bytes);
    EXPECT_EQ(readWholeFile(dir.write("empty", "")), "");
}

#ifndef _WIN32  // FIFOs
TEST(FileIoRead, RefusesWhatIsNotAnOrdinaryFile) {
    TempDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    try {
        readWholeFile(fifo);
        FAIL() << "read a FIFO";
    } catch (const FileError& error) {
        EXPECT_EQ(error.reason(), "not an ordinary file");
        EXPECT_EQ(error.path(), fifo);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    try {
        readWholeFile(dir.path());
        FAIL() << "read a directory";
    } catch (const FileError& error) {
        EXPECT_EQ(error.reason(), "not an ordinary file");
    }
    try {
        readWholeFile(dir.file("missing"));
        FAIL() << "read a missing file";
    } catch (const FileError& error) {
        EXPECT_EQ(error.action(), "read");
        EXPECT_EQ(error.reason(), test::missingFileReason());
    }
}
#endif

TEST(AtomicFileWriter, ReplacesContentAndLeavesNoTemporary) {
    TempDir dir;
    const std::string target = dir.write("Inkrun.scr", "old content that is longer");
    AtomicFileWriter writer(target);
    writer.write("new ");
    writer.write(std::string(3 << 20, 'z'));  // past the buffer
    writer.write("end");
    EXPECT_EQ(dir.read("Inkrun.scr"), "old content that is longer");  // nothing visible before commit
    writer.commit();
    EXPECT_EQ(dir.read("Inkrun.scr"), "new " + std::string(3 << 20, 'z') + "end");
    EXPECT_EQ(entries(dir), std::vector<std::string>{"Inkrun.scr"});
}

TEST(AtomicFileWriter, WriterDroppedWithoutCommitLeavesTargetAlone) {
    TempDir dir;
    const std::string target = dir.write("Inkrun.scr", "old");
    {
        AtomicFileWriter writer(target);
        writer.write("half written");
    }
    EXPECT_EQ(dir.read("Inkrun.scr"), "old");
    EXPECT_EQ(entries(dir), std::vector<std::string>{"Inkrun.scr"});
}

TEST(AtomicFileWriter, FailuresNameTheTargetAndCleanUp) {
    TempDir dir;
    const std::string inMissingDir = dir.file("nowhere/Inkrun.scr");
    try {
        writeFileAtomically(inMissingDir, "x");
        FAIL();
    } catch (const FileError& error) {
        EXPECT_EQ(error.action(), "write");
        EXPECT_EQ(error.path(), inMissingDir);
    }

    const std::string directory = dir.mkdir("Inkrun.scr");
    dir.write("Inkrun.scr/keep", "kept");
    try {
        writeFileAtomically(directory, "x");
        FAIL();
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), directory);
        EXPECT_EQ(error.reason(), systemReason(EISDIR));
    }
    EXPECT_EQ(dir.read("Inkrun.scr/keep"), "kept");
    EXPECT_EQ(entries(dir), std::vector<std::string>{"Inkrun.scr"});
}

#ifndef _WIN32  // permission bits and umask
TEST(AtomicFileWriter, KeepsModeOfReplacedFileAndUsesUmaskForNewOne) {
    TempDir dir;
    const std::string existing = dir.write("setup.txt", "a");
    ASSERT_EQ(::chmod(existing.c_str(), 0640), 0);
    writeFileAtomically(existing, "b");
    EXPECT_EQ(permissions(existing), 0640u);

    const mode_t old = ::umask(027);
    writeFileAtomically(dir.file("new.txt"), "c");
    ::umask(old);
    EXPECT_EQ(permissions(dir.file("new.txt")), 0640u);
}
#endif

#ifndef _WIN32  // symbolic links need privileges on Windows
TEST(AtomicFileWriter, WritesThroughSymbolicLink) {
    TempDir dir;
    const std::string real = dir.write("real.txt", "old");
    ASSERT_EQ(::symlink("real.txt", dir.file("link.txt").c_str()), 0);
    writeFileAtomically(dir.file("link.txt"), "new");
    EXPECT_EQ(dir.read("real.txt"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
}
#endif

TEST(FileIoRemove, RemovesOrReports) {
    TempDir dir;
    removeFile(dir.write("gone", "x"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone")));
    try {
        removeFile(dir.file("gone"));
        FAIL();
    } catch (const FileError& error) {
        EXPECT_EQ(error.what(), "Could not delete " + dir.file("gone") + ": " + test::missingFileReason());
    }
}

}  // namespace
}  // namespace inkrun::platform
