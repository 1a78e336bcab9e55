#include "platform/folder_listing.h"

#include <cerrno>
#include <dirent.h>

#include "platform/file_error.h"
#include "platform/posix_files.h"

namespace inkrun::platform {

FolderEntries listFolder(const std::string& directory) {
    posix::DirHandle dir(directory.empty() ? nullptr : ::opendir(directory.c_str()));
    if (!dir) throw FileError("list", directory, systemReason(directory.empty() ? ENOENT : errno));
    FolderEntries entries;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0) throw FileError("list", directory, systemReason(errno));
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
