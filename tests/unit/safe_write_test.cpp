// What a replacing write refuses, keeps and leaves behind, as the user and as root.
#ifndef _WIN32  // the POSIX writer: links, owners, modes, FIFOs, flock, fork
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/file_io_testing.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace inkrun::platform {
namespace {

using inkrun::test::TempDir;
namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

std::vector<std::string> entries(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct stat statOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

std::string refusal(const std::string& path, StreamTarget streams = StreamTarget::Refuse) {
    try {
        AtomicFileWriter writer(path, streams);
        writer.write("new");
        writer.commit();
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), path);
        return error.reason();
    }
    return "(written)";
}

TEST(SafeWrite, AReadOnlyFileIsRefusedEvenForRootAndStaysWhole) {
    TempDir dir;
    const std::string target = dir.write("Inkrun.scr", "old");
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
    }
    EXPECT_EQ(refusal(target), "the file is read-only");
    EXPECT_EQ(dir.read("Inkrun.scr"), "old");
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"Inkrun.scr"});

    // So is a read-only file behind a link; the link stays a link.
    ASSERT_EQ(::symlink("Inkrun.scr", dir.file("link").c_str()), 0);
    EXPECT_EQ(refusal(dir.file("link")), "the file is read-only");
    EXPECT_EQ(dir.read("Inkrun.scr"), "old");
}

TEST(SafeWrite, OnlyRegularFilesAreReplaced) {
    TempDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(refusal(fifo), "it is a FIFO, not an ordinary file");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));  // never blocks
    EXPECT_TRUE(S_ISFIFO(statOf(fifo).st_mode));

    const std::string device = test::characterDevice(dir, "device", 3);
    ASSERT_EQ(::symlink(device.c_str(), dir.file("null").c_str()), 0);
    EXPECT_EQ(refusal(dir.file("null")), "it is a character device, not an ordinary file");
    EXPECT_TRUE(S_ISCHR(statOf(device).st_mode));

    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir.file("sock");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(refusal(socketPath, StreamTarget::WriteInto), "it is a socket, not an ordinary file");
    EXPECT_TRUE(S_ISSOCK(statOf(socketPath).st_mode));
    ::close(listener);

    std::vector<std::string> expected{"null", "pipe", "sock"};
    if (device.starts_with(dir.path())) expected.insert(expected.begin(), "device");
    EXPECT_EQ(entries(dir.path()), expected);
}

TEST(SafeWrite, StreamsAreWrittenIntoWhenAsked) {
    TempDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(refusal(fifo, StreamTarget::WriteInto), "no program is reading from the FIFO");

    std::string received;
    std::thread reader([&] {
        const int fd = ::open(fifo.c_str(), O_RDONLY);
        char buffer[4096];
        for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
            received.append(buffer, static_cast<std::size_t>(got));
        ::close(fd);
    });
    const std::string bytes(3 << 20, 'p');  // more than the pipe holds
    for (int attempt = 0;; ++attempt) {
        try {
            AtomicFileWriter writer(fifo, StreamTarget::WriteInto);
            writer.write(bytes);
            writer.commit();
            break;
        } catch (const FileError&) {
            ASSERT_LT(attempt, 500) << "the reader never opened the FIFO";
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    reader.join();
    EXPECT_EQ(received, bytes);
    EXPECT_TRUE(S_ISFIFO(statOf(fifo).st_mode));

    const std::string nullDevice = test::characterDevice(dir, "null", 3);
    AtomicFileWriter null(nullDevice, StreamTarget::WriteInto);
    null.write("gone");
    null.commit();
    EXPECT_TRUE(S_ISCHR(statOf(nullDevice).st_mode));
    const std::string fullDevice = test::characterDevice(dir, "full", 7);
    EXPECT_EQ(refusal(fullDevice, StreamTarget::WriteInto), systemReason(ENOSPC));
    EXPECT_TRUE(S_ISCHR(statOf(fullDevice).st_mode));
    // A major number kept for local use, which no driver takes: the system says ENXIO, as for
    // a FIFO nobody reads.
    const std::string absent = dir.file("absent");
    if (::geteuid() == 0 && ::mknod(absent.c_str(), S_IFCHR | 0666, makedev(120, 0)) == 0) {
        EXPECT_EQ(refusal(absent, StreamTarget::WriteInto),
                  "the device has no driver, or is not there (" + systemReason(ENXIO) + ")");
    }
    for (const std::string& name : entries(dir.path())) EXPECT_FALSE(name.starts_with(".inkrun-")) << name;
}

// "-o /dev/stdout >>job.log" means the descriptor the shell opened: the log grows, as with "-o -".
TEST(SafeWrite, ANameOfAnOpenDescriptorIsWrittenIntoAsItStands) {
    TempDir dir;
    const std::string log = dir.write("job.log", "earlier lines\n");
    const int appending = ::open(log.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(appending, 0);
    const std::string number = std::to_string(appending);
    for (const std::string& name :
         {"/dev/fd/" + number, "/proc/self/fd/" + number, "/proc/" + std::to_string(::getpid()) + "/fd/" + number}) {
        AtomicFileWriter writer(name, StreamTarget::WriteInto);
        writer.write(name + "\n");
        writer.commit();
    }
    EXPECT_EQ(refusal("/dev/fd/" + number), "it names a file the program already has open, not a file to replace");
    EXPECT_EQ(::write(appending, "still open\n", 11), 11);  // the writer closed a copy only
    ::close(appending);
    EXPECT_EQ(dir.read("job.log"), "earlier lines\n/dev/fd/" + number + "\n/proc/self/fd/" + number + "\n/proc/" +
                                       std::to_string(::getpid()) + "/fd/" + number + "\nstill open\n");
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"job.log"});

    EXPECT_EQ(openDescriptorNamed("/dev/stdout"), 1);
    EXPECT_EQ(openDescriptorNamed("/dev/stderr"), 2);
    EXPECT_EQ(openDescriptorNamed("/proc/thread-self/fd/12"), 12);
    for (const char* other : {"/dev/fd/", "/dev/fd/1x", "/dev/fd/99999999999", "/proc/1/fd/1", "/dev/stdout/x",
                              "/tmp/dev/stdout", "dev/stdout"})
        EXPECT_EQ(openDescriptorNamed(other), std::nullopt) << other;
}

TEST(SafeWrite, AReplacedFileKeepsOwnerAndModeButNoSpecialBits) {
    TempDir dir;
    const std::string target = dir.write("Inkrun.scr", "old");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
    }
    ASSERT_EQ(::chmod(target.c_str(), 06750 | S_ISVTX), 0);
    writeFileAtomically(target, "new");
    const struct stat info = statOf(target);
    EXPECT_EQ(info.st_mode & 07777, 0750u);
    if (root) {
        EXPECT_EQ(info.st_uid, kNobody);
        EXPECT_EQ(info.st_gid, kNobody);
    }
    EXPECT_EQ(dir.read("Inkrun.scr"), "new");
}

TEST(SafeWrite, AKillDuringASaveLeavesNothingBehind) {
    TempDir dir;
    const std::string target = dir.write("Inkrun.scr", "old");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AtomicFileWriter writer(target);
        writer.write(std::string(3 << 20, 'k'));  // past the buffer: on disk in the temporary
        (void)!::write(ready[1], "r", 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"Inkrun.scr"});
    EXPECT_EQ(dir.read("Inkrun.scr"), "old");
}

TEST(SafeWrite, TheLongestNameTheFileSystemTakesSaves) {
    TempDir dir;
    const std::string name = std::string(251, 'n') + ".txt";
    ASSERT_EQ(name.size(), 255u);
    writeFileAtomically(dir.file(name), "first");
    writeFileAtomically(dir.file(name), "second");
    EXPECT_EQ(dir.read(name), "second");
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{name});
}

TEST(SafeWrite, AFailedDirectorySyncSaysTheFileWasReplaced) {
    TempDir dir;
    const std::string target = dir.write("Inkrun.scr", "old");
    testing::failDirectorySyncWith(EIO);
    try {
        writeFileAtomically(target, "new");
        ADD_FAILURE() << "no warning";
    } catch (const WrittenWithWarning& warning) {
        EXPECT_EQ(warning.path(), target);
        EXPECT_EQ(std::string(warning.what()), "Wrote " + target +
                                                   ", but could not confirm that it is safely on "
                                                   "disk: syncing its directory failed (" +
                                                   systemReason(EIO) + ")");
    }
    testing::failDirectorySyncWith(0);
    EXPECT_EQ(dir.read("Inkrun.scr"), "new");
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"Inkrun.scr"});
}

}  // namespace
}  // namespace inkrun::platform
#endif
