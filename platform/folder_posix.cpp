#include "platform/folder.h"

#include "platform/directory_record_posix.h"
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/path_walk_posix.h"
#include "platform/posix_files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Folders held by descriptor on POSIX systems.

namespace inkrun::platform {

namespace {

FileIdentity identityFrom(const struct stat& info) {
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

// Unlinking needs only the folder, but a file without write bits is read-only on Windows, where
// it cannot be deleted: the same refusal here. A link goes itself, not what it leads to.
void removeEntry(int folder, const std::string& name, const std::string& path) {
    struct stat info {};
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
        (info.st_mode & 0222) == 0)
        throw FileError("delete", path, "the file is read-only");
    if (::unlinkat(folder, name.c_str(), 0) != 0) throw FileError("delete", path, systemReason(errno));
}

}  // namespace

namespace {

// An empty path is the root, as joining it with a name gives a path from the root.
std::string_view walked(const std::string& path) { return path.empty() ? std::string_view("/") : path; }

}  // namespace

Folder Folder::open(const std::string& path, const std::string& action, char separator) {
    std::string resolved;
    detail::NativeFile handle = posix::walkToFolder(walked(path), path, action, &resolved);
    return Folder(path, separator, std::move(handle), std::move(resolved));
}

std::optional<Folder> Folder::openIfThere(const std::string& path, const std::string& action, char separator) {
    std::string resolved;
    detail::NativeFile handle = posix::walkToFolder(walked(path), path, action, &resolved, {}, true);
    if (!handle.valid()) return std::nullopt;
    return Folder(path, separator, std::move(handle), std::move(resolved));
}

Folder Folder::openMaking(const std::string& path, const std::string& action, char separator) {
    if (auto there = openIfThere(path, action, separator)) return std::move(*there);
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (slash == std::string::npos || name.empty() || name == "." || name == "..") return open(path, action, separator);
    Folder parent = openMaking(slash == 0 ? "/" : path.substr(0, slash), action, separator);
    if (::mkdirat(parent.handle_.get(), name.c_str(), 0700) != 0 && errno != EEXIST)
        throw FileError(action, path, systemReason(errno));
    return parent.subfolder(name, action);
}

Folder Folder::subfolder(const std::string& name, const std::string& action) const {
    std::string shown = pathOf(name);
    std::string resolved;
    detail::NativeFile handle = posix::walkToFolder(name, shown, action, &resolved, {handle_.get(), resolved_});
    return Folder(std::move(shown), separator_, std::move(handle), std::move(resolved));
}

std::string Folder::resolvedPath() const { return resolved_; }

FileIdentity Folder::identity() const {
    struct stat info {};
    if (::fstat(handle_.get(), &info) != 0) return {};
    return identityFrom(info);
}

std::optional<FileIdentity> Folder::identityOf(const std::string& name) const {
    struct stat info {};
    if (name.empty() || ::fstatat(handle_.get(), name.c_str(), &info, 0) != 0) return std::nullopt;
    return identityFrom(info);
}

std::optional<Folder::FileStamp> Folder::stampOf(const std::string& name) const {
    struct stat info {};
    if (name.empty() || ::fstatat(handle_.get(), name.c_str(), &info, 0) != 0) return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(info.st_size),
                     static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

std::vector<std::string> Folder::ordinaryFiles() const {
    std::vector<std::string> names;
    if (const int error = posix::readDirectory(handle_.get(), [&](std::string_view name) { names.emplace_back(name); }))
        throw FileError("list", path_, systemReason(error));
    return names;
}

std::vector<std::string> Folder::caseVariants(const std::string& name) const {
    if (name.empty() || name.front() == '.' || name.find('/') != std::string::npos) return {};
    if (auto recorded = posix::recordedCaseVariants(handle_.get(), name)) return std::move(*recorded);
    std::vector<std::string> found;
    const std::string wanted = foldCase(name);
    const int error = posix::readDirectory(handle_.get(), [&](std::string_view entry) {
        if (entry.size() == wanted.size() && foldCase(entry) == wanted) found.emplace_back(entry);
    });
    if (error) throw FileError("list", path_, systemReason(error));
    return found;
}

std::vector<std::string> Folder::entriesNamedLike(const std::string& name) const {
    std::vector<std::string> found;
    if (name.empty() || name.front() == '.' || name.find('/') != std::string::npos) return found;
    const std::string wanted = foldCase(name);
    const int error = posix::visitEntries(handle_.get(), [&](int, const dirent* entry) {
        const std::string_view entryName(entry->d_name);
        if (entryName.size() == wanted.size() && foldCase(entryName) == wanted) found.emplace_back(entryName);
    });
    if (error) throw FileError("list", path_, systemReason(error));
    sortExactNameFirst(found, name);
    return found;
}

void Folder::removeFile(const std::string& name) const { removeEntry(handle_.get(), name, pathOf(name)); }

void removeFile(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") throw FileError("delete", path, systemReason(EISDIR));
    const detail::NativeFile held = posix::walkToFolder(folder, path, "delete", nullptr);
    removeEntry(held.get(), name, path);
}

}  // namespace inkrun::platform
