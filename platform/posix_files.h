#pragma once

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_error.h"

// Small POSIX helpers of the file layer, for its *_posix.cpp files.

namespace inkrun::platform::posix {

// An open directory stream, closed when it goes.
struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// A listing of the folder open at `folderFd`, from its start, on a descriptor of its own that
// the stream closes; null with errno set when it cannot be had.
inline DirHandle openListing(int folderFd) {
    const int listFd = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    if (listFd < 0) return nullptr;
    DirHandle dir(::fdopendir(listFd));
    if (!dir) {
        const int error = errno;
        ::close(listFd);
        errno = error;
        return nullptr;
    }
    ::rewinddir(dir.get());  // the copy shares the original's position
    return dir;
}

// What a file that is no regular file is, for a message: "a FIFO", "a character device".
inline std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISLNK(mode)) return "a symbolic link";
    return "a file of an unknown kind";
}

// Calls visit(entry) for each entry of the folder open at `folderFd`, "." and ".." among them.
// Returns 0, or the errno value that stopped the listing.
template <typename Visit>
int visitEntries(int folderFd, Visit visit) {
    DirHandle dir = openListing(folderFd);
    if (!dir) return errno;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) return errno;
        visit(::dirfd(dir.get()), entry);
    }
}

inline constexpr const char* kHiddenFileReason =
    "it is a hidden file (its name starts with a dot), not an ordinary file";

// Why the entry `name` of the folder open at `folderFd` (AT_FDCWD: a path from the current
// directory) is no ordinary file, in the user's words ("it is a FIFO, not an ordinary file", "it
// is a symbolic link to nothing (dangling)"); nullopt when it is one. Hidden names are judged by
// the caller.
inline std::optional<std::string> whyNotOrdinaryAt(int folderFd, const char* name) {
    struct stat own {};
    if (::fstatat(folderFd, name, &own, AT_SYMLINK_NOFOLLOW) != 0) return systemReason(errno);
    if (!S_ISLNK(own.st_mode)) {
        if (S_ISREG(own.st_mode)) return std::nullopt;
        return "it is " + kindOf(own.st_mode) + ", not an ordinary file";
    }
    struct stat target {};
    if (::fstatat(folderFd, name, &target, 0) != 0) {
        if (errno == ENOENT) return "it is a symbolic link to nothing (dangling)";
        if (errno == ELOOP) return "it is a symbolic link that loops";
        return "it is a symbolic link that cannot be followed: " + systemReason(errno);
    }
    if (S_ISREG(target.st_mode)) return std::nullopt;
    return "it is a symbolic link to " + kindOf(target.st_mode) + ", not to an ordinary file";
}

enum class EntryKind { File, Folder, Other };

// What a directory entry is, symbolic links followed: a link to a folder is a folder, a link that
// leads nowhere is neither. The entry's type spares a stat where the file system gives it.
inline EntryKind kindOfEntry(int directoryFd, const dirent* entry) {
#ifdef DT_REG
    if (entry->d_type == DT_REG) return EntryKind::File;
    if (entry->d_type == DT_DIR) return EntryKind::Folder;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) return EntryKind::Other;
#endif
    struct stat info {};
    if (::fstatat(directoryFd, entry->d_name, &info, 0) != 0) return EntryKind::Other;
    if (S_ISREG(info.st_mode)) return EntryKind::File;
    return S_ISDIR(info.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

// Whether a directory entry is an ordinary file's: a regular file, symbolic links followed.
inline bool isRegularEntry(int directoryFd, const dirent* entry) {
    return kindOfEntry(directoryFd, entry) == EntryKind::File;
}

}  // namespace inkrun::platform::posix
