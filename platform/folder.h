#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_identity.h"
#include "platform/file_io_backend.h"
#include "platform/file_lookup.h"
#include "platform/folder_listing.h"

namespace inkrun::platform {

// A folder held open, reached once through its path. Whatever is then done in it (listing,
// reading, writing, removing, renaming) starts from what was opened, never from the path again,
// so a folder on the way swapped for a link cannot redirect it.
//
// On POSIX systems the path is walked one name at a time from descriptors, and a symbolic link
// on the way is followed only under the link rule (link_rule_posix.h), for every user: not
// another user's link in a folder that others may write to, nor a link that another user
// controls to anything that is not theirs. On Windows the folder is held without delete sharing,
// as is every folder on the way to it, so that none can be renamed or replaced while it is held,
// and a junction or symbolic link on the way is followed only when it belongs to this user, an
// administrator or the system (folder_win32.cpp).
class Folder {
public:
    // Throws FileError(action, path, reason) when the folder cannot be opened or a link on the
    // way must not be followed. An empty path is the root, as joinPath("", name) reads it.
    static Folder open(const std::string& path, const std::string& action = "list", char separator = kPathSeparator);
    // The same, but nullopt when there is no such folder (nothing, or no folder, at the path).
    static std::optional<Folder> openIfThere(const std::string& path, const std::string& action = "list",
                                             char separator = kPathSeparator);

    // The same, but a folder that is not there is made first, with any missing on the way to it;
    // only their owner may enter the folders made. Throws FileError(action, path, reason).
    static Folder openMaking(const std::string& path, const std::string& action = "write",
                             char separator = kPathSeparator);

    // The folder `name` inside this one, a link followed under the same rule. Throws
    // FileError(action, the joined path, reason).
    Folder subfolder(const std::string& name, const std::string& action = "list") const;

    // The path as given, and a name in the folder joined to it.
    const std::string& path() const { return path_; }
    std::string pathOf(const std::string& name) const { return joinPath(path_, name, separator_); }
    // Where the folder is, every link resolved ("/srv/jobs" for "~/jobs" that links there).
    std::string resolvedPath() const;

    FileIdentity identity() const;
    // The identity of the file `name` in the folder, links followed; nullopt when there is none.
    std::optional<FileIdentity> identityOf(const std::string& name) const;

    // The size and last change of the file `name`, links followed; nullopt when there is none.
    struct FileStamp {
        std::uint64_t size = 0;
        std::int64_t modified = 0;  // in the system's own units
        bool operator==(const FileStamp&) const = default;
    };
    std::optional<FileStamp> stampOf(const std::string& name) const;

    // Throws FileError("list", path(), reason).
    FolderEntries entries() const;
    std::vector<std::string> ordinaryFiles() const;
    std::vector<std::string> caseVariants(const std::string& name) const;
    // The files whose names end in one of `endings` without regard to case, hidden and system
    // ones too: the lock files other programs keep beside a file are often hidden. One read of
    // the folder. Throws FileError("list", path(), reason).
    std::vector<std::string> filesEndingIn(std::initializer_list<std::string_view> endings) const;
    // Whether the file `name` is read-only: on Windows its attribute, elsewhere no write bit at
    // all, which is how a share shows such a file to Windows. False when there is none.
    bool isReadOnly(const std::string& name) const;
    // Every entry whose name equals `name` without regard to case, whatever it is (a file, a
    // folder, a link that leads nowhere), the exact name first, then the others in the order of
    // their names. Throws FileError("list", path(), reason).
    std::vector<std::string> entriesNamedLike(const std::string& name) const;

    // As removeFile and renameLetterCase (file_io.h), in this folder.
    void removeFile(const std::string& name) const;
    void renameLetterCase(const std::string& stored, const std::string& wanted) const;

    detail::NativeHandle handle() const { return handle_.get(); }

private:
    Folder(std::string path, char separator, detail::NativeFile handle, std::string resolved,
           std::vector<detail::NativeFile> held = {})
        : path_(std::move(path)), separator_(separator), handle_(std::move(handle)), resolved_(std::move(resolved)),
          held_(std::move(held)) {}

    std::string path_;
    char separator_;
    detail::NativeFile handle_;
    std::string resolved_;
    std::vector<detail::NativeFile> held_;  // Windows: the folders on the way, held with the folder
};

}  // namespace inkrun::platform
