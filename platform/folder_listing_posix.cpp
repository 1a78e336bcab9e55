#include "platform/folder.h"

#include <algorithm>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_error.h"
#include "platform/file_lookup.h"
#include "platform/posix_files.h"

namespace inkrun::platform {

namespace {

bool endsInOneOf(std::string_view name, std::initializer_list<std::string_view> endings) {
    return std::any_of(endings.begin(), endings.end(),
                       [&](std::string_view ending) { return endsWithIgnoringCase(name, ending); });
}

}  // namespace

FolderEntries Folder::entries() const {
    FolderEntries entries;
    const int error = posix::visitEntries(handle_.get(), [&](int listing, const dirent* entry) {
        // A leading dot hides a name, and leaves out "." and "..".
        if (entry->d_name[0] == '.') return;
        switch (posix::kindOfEntry(listing, entry)) {
        case posix::EntryKind::File: entries.files.emplace_back(entry->d_name); break;
        case posix::EntryKind::Folder: entries.folders.emplace_back(entry->d_name); break;
        case posix::EntryKind::Other: break;
        }
    });
    if (error != 0) throw FileError("list", path_, systemReason(error));
    return entries;
}

std::vector<std::string> Folder::filesEndingIn(std::initializer_list<std::string_view> endings) const {
    std::vector<std::string> found;
    const int error = posix::visitEntries(handle_.get(), [&](int listing, const dirent* entry) {
        // Only the names: what they are matters only for the few that end so.
        if (!endsInOneOf(entry->d_name, endings)) return;
        if (posix::kindOfEntry(listing, entry) == posix::EntryKind::File) found.emplace_back(entry->d_name);
    });
    if (error != 0) throw FileError("list", path_, systemReason(error));
    return found;
}

bool Folder::isReadOnly(const std::string& name) const {
    struct stat info {};
    return ::fstatat(handle_.get(), name.c_str(), &info, 0) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0;
}

}  // namespace inkrun::platform
