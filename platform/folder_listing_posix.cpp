#include "platform/folder_listing.h"

#include <cerrno>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

#include "platform/file_error.h"

namespace inkrun::platform {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

enum class Kind { File, Folder, Other };

// The entry's kind from the directory itself where the file system says it; a link, or a file
// system that does not say, costs a stat.
Kind kindOf(DIR* dir, const dirent* entry) {
#ifdef DT_REG
    if (entry->d_type == DT_REG) return Kind::File;
    if (entry->d_type == DT_DIR) return Kind::Folder;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) return Kind::Other;
#endif
    struct stat info {};
    if (::fstatat(::dirfd(dir), entry->d_name, &info, 0) != 0) return Kind::Other;
    if (S_ISREG(info.st_mode)) return Kind::File;
    return S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
}

}  // namespace

FolderEntries listFolder(const std::string& directory) {
    std::unique_ptr<DIR, DirCloser> dir(directory.empty() ? nullptr : ::opendir(directory.c_str()));
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
        switch (kindOf(dir.get(), entry)) {
        case Kind::File: entries.files.emplace_back(entry->d_name); break;
        case Kind::Folder: entries.folders.emplace_back(entry->d_name); break;
        case Kind::Other: break;
        }
    }
}

}  // namespace inkrun::platform
