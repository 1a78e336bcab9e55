#include "platform/file_io.h"

#include "platform/file_error.h"
#include "platform/file_io_testing.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#ifdef _WIN32
#include "platform/wide_text.h"
#include "platform/windows_api.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace inkrun::platform {
namespace {

using inkrun::test::TempDir;

std::vector<std::string> entries(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(test::pathOf(dir.path())))
        names.push_back(test::textOf(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

// A file held the way a writer holds its temporary, until dropped.
class HeldFile {
public:
#ifdef _WIN32
    explicit HeldFile(const std::string& path)
        : handle_(CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE) << path;
    }
    ~HeldFile() { CloseHandle(handle_); }

private:
    HANDLE handle_;
#else
    explicit HeldFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY)) {
        EXPECT_EQ(::flock(fd_, LOCK_EX), 0) << path;
    }
    ~HeldFile() { ::close(fd_); }

private:
    int fd_;
#endif
};

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

TEST(FileIoRead, AFileLargerThanTheMemoryIsRefusedBeforeItIsRead) {
    TempDir dir;
    const std::string large = dir.write("large.txt", std::string(1 << 20, 'x'));
    testing::limitMemoryForReadsTo(512 << 10);
    try {
        readWholeFile(large);
        ADD_FAILURE() << "read more than the memory";
    } catch (const FileError& error) {
        EXPECT_EQ(error.what(), "Could not read " + large +
                                    ": at 1.0 MiB (1,048,576 bytes) it is larger than the "
                                    "512.0 KiB of memory this program can have");
    }
    testing::limitMemoryForReadsTo(0);
    EXPECT_EQ(readWholeFile(large).size(), 1u << 20);
}

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

#ifndef _WIN32  // a file-size limit
// The disk fills up part-way: the file-size limit stands in for it, as it fails root too.
TEST(AtomicFileWriter, AWriteThatFailsPartWayLeavesTheOldFileWholeAndNoTemporary) {
    TempDir dir;
    const std::string target = dir.write("Inkrun.scr", "the old script");
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit lowered = previous;
    lowered.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
    try {
        writeFileAtomically(target, std::string(3 << 20, 'x'));
        ADD_FAILURE() << "wrote past the limit";
    } catch (const FileError& error) {
        EXPECT_EQ(error.what(), "Could not write " + target + ": " + systemReason(EFBIG));
    }
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(dir.read("Inkrun.scr"), "the old script");
    EXPECT_EQ(entries(dir), std::vector<std::string>{"Inkrun.scr"});
}
#endif

// More pieces than one gather write takes, empty ones, one larger than a buffer, between
// buffered writes: the file holds them in order.
TEST(AtomicFileWriter, PiecesLandInOrderBetweenBufferedWrites) {
    TempDir dir;
    const std::string large(3 << 20, 'L');
    std::vector<std::string_view> pieces;
    std::string expected = "head;";
    for (int i = 0; i < 3000; ++i) {
        static const std::string_view kinds[] = {"ab", "", "cde"};
        pieces.push_back(kinds[i % 3]);
        expected.append(kinds[i % 3]);
        if (i == 1500) {
            pieces.push_back(large);
            expected.append(large);
        }
    }
    expected += "tail";
    AtomicFileWriter writer(dir.file("Inkrun.scr"));
    writer.write("head;");
    writer.writePieces(pieces);
    writer.write("tail");
    writer.commit();
    EXPECT_TRUE(dir.read("Inkrun.scr") == expected);
}

TEST(AtomicFileWriter, StaleTemporariesGoAndLiveOnesStay) {
    TempDir dir;
    const auto age = [&](const std::string& name) {
        const auto path = test::pathOf(dir.file(name));
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::hours(1));
    };
    dir.write(".inkrun-Stale123.tmp", "left by a kill");
    age(".inkrun-Stale123.tmp");
    dir.write(".inkrun-Locked12.tmp", "a writer at work");
    age(".inkrun-Locked12.tmp");
    dir.write(".inkrun-Newborn1.tmp", "just made");
    dir.write(".inkrun-other.tmp", "not ours");
    age(".inkrun-other.tmp");
    {
        const HeldFile held(dir.file(".inkrun-Locked12.tmp"));
        writeFileAtomically(dir.file("Inkrun.scr"), "new");
    }
    EXPECT_EQ(entries(dir), (std::vector<std::string>{".inkrun-Locked12.tmp", ".inkrun-Newborn1.tmp",
                                                      ".inkrun-other.tmp", "Inkrun.scr"}));
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
