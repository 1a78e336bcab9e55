#include "platform/write_target_posix.h"

#include "platform/file_error.h"
#include "platform/link_rule.h"
#include "platform/posix_files.h"

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

std::string streamOpenFailure(mode_t kind, int errorNumber) {
    // Both say ENXIO: a FIFO that no one has open for reading, a device whose driver is not there.
    if (errorNumber == ENXIO)
        return S_ISFIFO(kind) ? "no program is reading from the FIFO"
                              : "the device has no driver, or is not there (" + systemReason(ENXIO) + ")";
    return systemReason(errorNumber);
}

WriteTarget examineWriteTarget(const std::string& target, StreamTarget streams) {
    requireTrustedLinks(target, "write");
    WriteTarget result;
    // The file renamed over is where the target's own links lead; the links stay links.
    std::string path = target;
    for (int hops = 0;; ++hops) {
        struct stat link {};
        if (::lstat(path.c_str(), &link) != 0) {
            if (errno != ENOENT) refuse(target, systemReason(errno));
            break;  // no such file (yet): a new one is made here
        }
        if (!S_ISLNK(link.st_mode)) break;
        if (hops == kMaxLinkHops) refuse(target, systemReason(ELOOP));
        std::string next;
        if (!readLinkText(path, next)) refuse(target, systemReason(errno));
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
            result.stream = info.st_mode;
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
