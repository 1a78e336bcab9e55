#include "platform/file_lookup.h"

#include "platform/file_error.h"
#include "platform/folder.h"
#include "platform/posix_files.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// The directory services on POSIX systems.

namespace inkrun::platform {

namespace {

// A single directory entry's name: not hidden, and unable to reach into another directory.
bool isPlainName(std::string_view name) {
    return !name.empty() && name.front() != '.' && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// Calls accept(name) for each non-hidden entry of the folder; keep(name) for those that are
// ordinary files and pass accept, which spares a stat for names of no interest.
template <typename Accept, typename Keep>
void scanDirectory(const Folder& folder, Accept accept, Keep keep) {
    const int error = posix::visitEntries(folder.handle(), [&](int listing, const dirent* entry) {
        const std::string_view name(entry->d_name);
        if (name.front() != '.' && accept(name) && posix::isRegularEntry(listing, entry)) keep(name);
    });
    if (error) throw FileError("list", folder.path(), systemReason(error));
}

}  // namespace

bool isOrdinaryFile(const std::string& directory, const std::string& name) {
    if (directory.empty() || !isPlainName(name)) return false;
    struct stat info {};
    return ::stat(joinPath(directory, name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string> listOrdinaryFiles(const std::string& directory) {
    if (directory.empty()) throw FileError("list", directory, systemReason(ENOENT));
    return Folder::open(directory).ordinaryFiles();
}

std::optional<std::string> findOrdinaryFile(const std::string& directory, const std::string& name, char separator) {
    if (directory.empty() || !isPlainName(name)) return std::nullopt;
    std::optional<std::string> found;
    try {
        const Folder folder = Folder::open(directory, "read");
        struct stat info {};
        if (::fstatat(folder.handle(), name.c_str(), &info, 0) == 0 && S_ISREG(info.st_mode))
            return joinPath(directory, name, separator);
        const std::string wanted = foldCase(name);
        scanDirectory(
            folder,
            // Only names that would win are worth a stat; the smallest wins, whatever the
            // directory's order.
            [&](std::string_view entry) {
                return entry.size() == wanted.size() && (!found || entry < *found) && foldCase(entry) == wanted;
            },
            [&](std::string_view entry) { found = std::string(entry); });
    } catch (const FileError&) {
        return std::nullopt;
    }
    if (!found) return std::nullopt;
    return joinPath(directory, *found, separator);
}

std::vector<std::string> listCaseVariants(const std::string& directory, const std::string& name) {
    if (!isPlainName(name)) return {};
    if (directory.empty()) throw FileError("list", directory, systemReason(ENOENT));
    return Folder::open(directory).caseVariants(name);
}

std::optional<std::string> whyNotOrdinary(const std::string& path) {
    if (auto reason = posix::whyNotOrdinaryAt(AT_FDCWD, path.c_str())) return reason;
    // A file the lookup passes over for its name alone.
    const std::size_t slash = path.rfind('/');
    if (path[slash == std::string::npos ? 0 : slash + 1] == '.') return posix::kHiddenFileReason;
    return std::nullopt;
}

std::string StoredSpelling::of(const std::string& path, std::size_t) { return path; }

bool dirExists(const std::string& path) noexcept {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string currentDirectory() {
    std::string buffer(256, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size())) {
            buffer.resize(std::char_traits<char>::length(buffer.c_str()));
            return buffer;
        }
        if (errno != ERANGE) throw FileError("read", ".", systemReason(errno));
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace inkrun::platform
