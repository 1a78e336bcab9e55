#include "platform/file_io.h"

#include "platform/file_error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

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

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : target_(std::move(targetPath)) {
    // Write through a symbolic link rather than replace the link with a file.
    std::string destination = target_;
    struct stat info {};
    if (::lstat(target_.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* resolved = ::realpath(target_.c_str(), nullptr)) {
            destination = resolved;
            std::free(resolved);
        }
    }
    const auto slash = destination.rfind('/');
    const std::string name = slash == std::string::npos ? destination : destination.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") fail("write", target_, EISDIR);
    const std::string prefix = slash == std::string::npos ? std::string() : destination.substr(0, slash + 1);

    std::string pattern = prefix + "." + name + ".XXXXXX";
#ifdef __GLIBC__
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
#else
    fd_ = ::mkstemp(pattern.data());
    if (fd_ >= 0) ::fcntl(fd_, F_SETFD, FD_CLOEXEC);
#endif
    if (fd_ < 0) fail("write", target_, errno);
    temporary_ = pattern;
    destination_ = destination;
    buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!committed_) discard();
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

void AtomicFileWriter::commit() {
    if (committed_) return;
    if (fd_ < 0) throw FileError("write", target_, "an earlier error stopped the write");
    flushBuffer();

    mode_t mode = 0666 & ~currentUmask();
    struct stat existing {};
    if (::stat(destination_.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            discard();
            fail("write", target_, EISDIR);
        }
        mode = existing.st_mode & 07777;
    }

    int error = ::fchmod(fd_, mode) != 0 ? errno : 0;
    if (!error) error = syncFile(fd_);
    const int fd = fd_;
    fd_ = -1;
    // close() can report a failed deferred write (NFS, quotas).
    if (::close(fd) != 0 && !error && errno != EINTR) error = errno;
    if (!error && ::rename(temporary_.c_str(), destination_.c_str()) != 0) error = errno;
    if (error) {
        discard();
        fail("write", target_, error);
    }
    temporary_.clear();
    committed_ = true;

    // Make the rename itself durable. Some file systems cannot sync a directory (EINVAL).
    FileDescriptor directory(::open(directoryOf(destination_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) {
        error = syncFile(directory.get());
        if (error && error != EINVAL) fail("write", target_, error);
    }
}

void AtomicFileWriter::discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    buffer_.clear();
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer(path);
    writer.write(bytes);
    writer.commit();
}

void removeFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0) fail("delete", path, errno);
}

}  // namespace inkrun::platform
