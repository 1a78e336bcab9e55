#include "platform/folder.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include "platform/file_error.h"
#include "platform/posix_files.h"

namespace inkrun::platform {

FolderEntries Folder::entries() const {
    posix::DirHandle dir = posix::openListing(handle_.get());
    if (!dir) throw FileError("list", path_, systemReason(errno));
    FolderEntries entries;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0) throw FileError("list", path_, systemReason(errno));
            return entries;
        }
        // A leading dot hides a name, and leaves out "." and "..".
        if (entry->d_name[0] == '.') continue;
        switch (posix::kindOfEntry(::dirfd(dir.get()), entry)) {
        case posix::EntryKind::File: entries.files.emplace_back(entry->d_name); break;
        case posix::EntryKind::Folder: entries.folders.emplace_back(entry->d_name); break;
        case posix::EntryKind::Other: break;
        }
    }
}

}  // namespace inkrun::platform
