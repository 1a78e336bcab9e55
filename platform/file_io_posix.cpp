#include "platform/file_io.h"

#include "platform/file_error.h"
#include "platform/file_io_testing.h"
#include "platform/temporary_file_posix.h"
#include "platform/write_target_posix.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Whole-file reads and atomic writes on POSIX systems.

namespace inkrun::platform {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

[[noreturn]] void fail(const char* action, const std::string& path, int errorNumber) {
    throw FileError(action, path, systemReason(errorNumber));
}

// Returns 0 or an errno value.
int writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return EIO;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

int syncFile(int fd) {
    while (::fsync(fd) != 0) {
        if (errno != EINTR) return errno;
    }
    return 0;
}

mode_t currentUmask() {
#ifdef __linux__
    // Reading it avoids umask()'s set-and-restore, which races with other threads creating files.
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned int mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found) return static_cast<mode_t>(mask);
    }
#endif
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

std::atomic<int> directorySyncFault{0};

}  // namespace

std::string readWholeFile(const std::string& path) {
    // O_NONBLOCK so that opening a FIFO with no writer returns at once instead of waiting.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) fail("read", path, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) fail("read", path, errno);
    if (!S_ISREG(info.st_mode)) throw FileError("read", path, "not an ordinary file");
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags >= 0) ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK);

    std::string content;
    // The size is a hint only: the file may change while it is read.
    std::size_t capacity = static_cast<std::size_t>(info.st_size) + 1;
    for (;;) {
        if (content.size() == capacity) capacity += capacity / 2 + 4096;
        const std::size_t used = content.size();
        content.resize(capacity);
        const ssize_t got = ::read(file.get(), content.data() + used, capacity - used);
        if (got < 0) {
            const int error = errno;
            content.resize(used);
            if (error == EINTR) continue;
            fail("read", path, error);
        }
        content.resize(used + static_cast<std::size_t>(got));
        if (got == 0) break;
    }
    return content;
}

AtomicFileWriter::AtomicFileWriter(std::string targetPath, StreamTarget streams)
    : target_(std::move(targetPath)) {
    const posix::WriteTarget examined = posix::examineWriteTarget(target_, streams);
    destination_ = examined.destination;
    if (examined.stream) {
        // Nothing to rename or sync: the bytes go straight to the reader or the device.
        // O_NONBLOCK so that a FIFO nobody reads fails at once instead of hanging the job.
        fd_ = ::open(destination_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) {
            if (errno == ENXIO) throw FileError("write", target_, "no program is reading from the FIFO");
            fail("write", target_, errno);
        }
        const int flags = ::fcntl(fd_, F_GETFL);
        if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
        stream_ = true;
        buffer_.reserve(kBufferSize);
        return;
    }

    name_ = posix::nameOf(destination_);
    if (name_.empty() || name_ == "." || name_ == "..") fail("write", target_, EISDIR);
    directory_ = posix::directoryOf(destination_);
    directoryFd_ = ::open(directory_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directoryFd_ < 0) fail("write", target_, errno);

    posix::removeStaleTemporaries(directoryFd_);
    posix::Temporary temporary;
    if (const int error = posix::createTemporary(directoryFd_, temporary)) {
        discard();
        fail("write", target_, error);
    }
    fd_ = temporary.fd;
    temporary_ = temporary.name;
    buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!committed_) discard();
    if (directoryFd_ >= 0) ::close(directoryFd_);
}

void AtomicFileWriter::write(std::string_view bytes) {
    if (fd_ < 0)
        throw FileError("write", target_,
                        committed_ ? "the file is already written" : "an earlier error stopped the write");
    if (buffer_.size() + bytes.size() <= kBufferSize) {
        buffer_.append(bytes);
        return;
    }
    flushBuffer();
    if (bytes.size() >= kBufferSize) {
        if (const int error = writeAll(fd_, bytes.data(), bytes.size())) {
            discard();
            fail("write", target_, error);
        }
    } else {
        buffer_.append(bytes);
    }
}

void AtomicFileWriter::flushBuffer() {
    const int error = writeAll(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
    if (error) {
        discard();
        fail("write", target_, error);
    }
}

void AtomicFileWriter::commitStream() {
    flushBuffer();
    const int fd = fd_;
    fd_ = -1;
    committed_ = true;
    if (::close(fd) != 0 && errno != EINTR) fail("write", target_, errno);
}

void AtomicFileWriter::commit() {
    if (committed_) return;
    if (fd_ < 0) throw FileError("write", target_, "an earlier error stopped the write");
    if (stream_) {
        commitStream();
        return;
    }
    flushBuffer();

    // Looked at again: the target may have changed while a long script was written.
    posix::WriteTarget now;
    try {
        now = posix::examineWriteTarget(target_, StreamTarget::Refuse);
    } catch (...) {
        discard();
        throw;
    }
    if (now.destination != destination_) {
        discard();
        throw FileError("write", target_, "the file was replaced by another while it was written");
    }

    mode_t mode = 0666 & ~currentUmask();
    if (now.existing) {
        // Where the process may: a file rebuilt by root stays its owner's.
        const struct stat& old = *now.existing;
        if (::fchown(fd_, old.st_uid, old.st_gid) != 0) (void)::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
        mode = old.st_mode & 0777;  // a script is never to carry setuid, setgid or sticky
    }

    int error = ::fchmod(fd_, mode) != 0 ? errno : 0;
    if (!error) error = syncFile(fd_);
    if (!error) {
        posix::Temporary temporary{fd_, temporary_};
        error = posix::nameTemporary(directoryFd_, temporary);
        temporary_ = temporary.name;
    }
    if (!error && ::renameat(directoryFd_, temporary_.c_str(), directoryFd_, name_.c_str()) != 0) error = errno;
    if (error) {
        discard();
        fail("write", target_, error);
    }
    temporary_.clear();
    committed_ = true;
    // Closed only now: the lock it holds keeps the named temporary from being taken for stale.
    ::close(fd_);
    fd_ = -1;
    buffer_.clear();

    // Make the rename itself durable. Some file systems cannot sync a directory (EINVAL).
    const int fault = directorySyncFault.load();
    error = fault ? fault : syncFile(directoryFd_);
    if (error && error != EINVAL)
        throw WrittenWithWarning(target_, "Wrote " + target_ + ", but could not confirm that it is safely on disk: "
                                          "syncing its directory failed (" + systemReason(error) + ")");
}

void AtomicFileWriter::discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty() && directoryFd_ >= 0) {
        ::unlinkat(directoryFd_, temporary_.c_str(), 0);
        temporary_.clear();
    }
    buffer_.clear();
}

void removeFile(const std::string& path) {
    struct stat info {};
    // Unlinking needs only the directory, but a file without write bits is read-only on Windows,
    // where it cannot be deleted: the same refusal here.
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0)
        throw FileError("delete", path, "the file is read-only");
    if (::unlink(path.c_str()) != 0) fail("delete", path, errno);
}

namespace testing {
void failDirectorySyncWith(int errorNumber) noexcept { directorySyncFault = errorNumber; }
}  // namespace testing

}  // namespace inkrun::platform
