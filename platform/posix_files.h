#pragma once

#include <dirent.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Small POSIX helpers of the file layer, for its *_posix.cpp files.

namespace inkrun::platform::posix {

// An open directory stream, closed when it goes.
struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// The text of a symbolic link, however long; false with errno set when it cannot be read.
inline bool readLinkText(const std::string& link, std::string& text) {
    text.assign(256, '\0');
    for (;;) {
        const ssize_t got = ::readlink(link.c_str(), text.data(), text.size());
        if (got < 0) return false;
        if (static_cast<std::size_t>(got) < text.size()) {
            text.resize(static_cast<std::size_t>(got));
            return true;
        }
        text.resize(text.size() * 2);
    }
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
