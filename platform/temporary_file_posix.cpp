#include "platform/temporary_file_posix.h"

#include "platform/directory_record_posix.h"
#include "platform/temporary_name.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace inkrun::platform::posix {

namespace {

int lockFor(int fd) {
    while (::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR) return errno;
    return 0;
}

int createNamed(int directoryFd, Temporary& temporary) {
    return underFreshTemporaryName(EEXIST, [&](std::string name) {
        const int fd = ::openat(directoryFd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) return errno;
        if (const int error = lockFor(fd)) {
            ::unlinkat(directoryFd, name.c_str(), 0);
            ::close(fd);
            return error;
        }
        temporary.fd = fd;
        temporary.name = std::move(name);
        return 0;
    });
}

#ifdef O_TMPFILE
bool canNameUnnamedFiles() {
    static const bool procMounted = ::access("/proc/self/fd", X_OK) == 0;
    return procMounted;
}
#endif

}  // namespace

int createTemporary(int directoryFd, Temporary& temporary) {
#ifdef O_TMPFILE
    if (canNameUnnamedFiles()) {
        const int fd = ::openat(directoryFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            if (const int error = lockFor(fd)) {
                ::close(fd);
                return error;
            }
            temporary.fd = fd;
            temporary.name.clear();
            return 0;
        }
        // File systems without unnamed files say so in several ways; any other error is real.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT) return errno;
    }
#endif
    return createNamed(directoryFd, temporary);
}

int nameTemporary(int directoryFd, Temporary& temporary) {
    if (!temporary.name.empty()) return 0;
    const std::string self = "/proc/self/fd/" + std::to_string(temporary.fd);
    return underFreshTemporaryName(EEXIST, [&](std::string name) {
        if (::linkat(AT_FDCWD, self.c_str(), directoryFd, name.c_str(), AT_SYMLINK_FOLLOW) != 0) return errno;
        temporary.name = std::move(name);
        return 0;
    });
}

void removeStaleTemporaries(int directoryFd) noexcept {
    try {
        std::vector<std::string> names;
        if (auto recorded = recordedTemporaries(directoryFd)) names = std::move(*recorded);
        else if (readDirectory(
                     directoryFd, [](std::string_view) {}, &names) != 0)
            return;
        const std::time_t now = std::time(nullptr);
        for (const std::string& name : names) {
            const int fd = ::openat(directoryFd, name.c_str(),
                                    O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
            if (fd < 0) continue;
            struct stat opened {};
            struct stat named {};
            // Only a regular file no one holds, old enough, and still the file under that name.
            if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                now - opened.st_mtime >= kStaleTemporaryAge.count() && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                ::fstatat(directoryFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
                ::unlinkat(directoryFd, name.c_str(), 0);
            ::close(fd);
        }
    } catch (...) {
        // Out of memory: the stale files wait for the next write.
    }
}

}  // namespace inkrun::platform::posix
