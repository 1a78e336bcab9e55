#include "platform/write_target_posix.h"

#include "platform/file_error.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

// Which file a write would replace, and whether it may.

namespace inkrun::platform::posix {

namespace {

constexpr int kMaxLinkHops = 40;  // as the kernel's own limit

[[noreturn]] void refuse(const std::string& target, const std::string& reason) {
    throw FileError("write", target, reason);
}

std::string readLink(const std::string& target, const std::string& link) {
    std::string text(256, '\0');
    for (;;) {
        const ssize_t got = ::readlink(link.c_str(), text.data(), text.size());
        if (got < 0) refuse(target, systemReason(errno));
        if (static_cast<std::size_t>(got) < text.size()) {
            text.resize(static_cast<std::size_t>(got));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

// Root may write anything, so a link planted by another user in a writable directory would
// turn a build into an overwrite of any file. Like the kernel's protected symlinks, only links
// of our own or of root are followed; root's own links lead where root chose.
void checkLinkOwner(const std::string& target, const struct stat& link) {
    const uid_t us = ::geteuid();
    if (us != 0 || link.st_uid == us) return;
    refuse(target, "it is a symbolic link owned by another user (uid " + std::to_string(link.st_uid) +
                       "); running as root, the program does not write through it");
}

std::string kindOf(mode_t mode) {
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

}  // namespace

std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isReadOnlyForUs(const std::string& path, const struct stat& info) {
    if ((info.st_mode & 0222) == 0) return true;
    if (::geteuid() == 0) return false;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

WriteTarget examineWriteTarget(const std::string& target, StreamTarget streams) {
    WriteTarget result;
    // Walk the links one by one so that each one's owner is checked, not just the last.
    std::string path = target;
    for (int hops = 0;; ++hops) {
        struct stat link {};
        if (::lstat(path.c_str(), &link) != 0) {
            if (errno != ENOENT) refuse(target, systemReason(errno));
            break;  // no such file (yet): a new one is made here
        }
        if (!S_ISLNK(link.st_mode)) break;
        if (hops == kMaxLinkHops) refuse(target, systemReason(ELOOP));
        checkLinkOwner(target, link);
        const std::string next = readLink(target, path);
        path = next.starts_with('/') ? next : directoryOf(path) + "/" + next;
    }

    struct stat info {};
    // The system's own view of the target decides its kind: links in /proc lead to pipes and
    // terminals that no path names.
    if (::stat(target.c_str(), &info) != 0) {
        if (errno != ENOENT) refuse(target, systemReason(errno));
        result.destination = path;
        return result;
    }
    if (S_ISDIR(info.st_mode)) refuse(target, systemReason(EISDIR));
    if (!S_ISREG(info.st_mode)) {
        if (streams == StreamTarget::WriteInto && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode))) {
            result.destination = target;
            result.stream = true;
            return result;
        }
        refuse(target, "it is " + kindOf(info.st_mode) + ", not an ordinary file");
    }
    if (isReadOnlyForUs(target, info)) refuse(target, "the file is read-only");
    result.destination = path;
    result.existing = info;
    return result;
}

}  // namespace inkrun::platform::posix
