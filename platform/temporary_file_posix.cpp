#include "platform/temporary_file_posix.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace inkrun::platform::posix {

namespace {

constexpr std::string_view kPrefix = ".inkrun-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomLength = 8;
constexpr int kNameAttempts = 100;
constexpr std::time_t kStaleAfterSeconds = 60;

std::string randomName() {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
    std::string name(kPrefix);
    for (std::size_t i = 0; i < kRandomLength; ++i) name.push_back(kAlphabet[pick(generator)]);
    name.append(kSuffix);
    return name;
}

int lockFor(int fd) {
    while (::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR) return errno;
    return 0;
}

int createNamed(int directoryFd, Temporary& temporary) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = randomName();
        const int fd = ::openat(directoryFd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return errno;
        }
        if (const int error = lockFor(fd)) {
            ::unlinkat(directoryFd, name.c_str(), 0);
            ::close(fd);
            return error;
        }
        temporary.fd = fd;
        temporary.name = std::move(name);
        return 0;
    }
    return EEXIST;
}

#ifdef O_TMPFILE
bool canNameUnnamedFiles() {
    static const bool procMounted = ::access("/proc/self/fd", X_OK) == 0;
    return procMounted;
}
#endif

}  // namespace

bool isTemporaryName(const std::string& name) {
    if (name.size() != kPrefix.size() + kRandomLength + kSuffix.size()) return false;
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return false;
    for (std::size_t i = kPrefix.size(); i < kPrefix.size() + kRandomLength; ++i) {
        const char c = name[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

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
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = randomName();
        if (::linkat(AT_FDCWD, self.c_str(), directoryFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temporary.name = std::move(name);
            return 0;
        }
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

void removeStaleTemporaries(int directoryFd) noexcept {
    const int listFd = ::dup(directoryFd);
    if (listFd < 0) return;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return;
    }
    ::rewinddir(dir);
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!isTemporaryName(name)) continue;
        const int fd = ::openat(directoryFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat opened {};
        struct stat named {};
        // Only a regular file no one holds, old enough, and still the file under that name.
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && now - opened.st_mtime >= kStaleAfterSeconds &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(directoryFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            ::unlinkat(directoryFd, name.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace inkrun::platform::posix
