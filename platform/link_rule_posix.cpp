#include "platform/link_rule.h"

#include <cerrno>
#include <deque>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_error.h"
#include "platform/file_lookup.h"
#include "platform/posix_files.h"

namespace inkrun::platform {

namespace {

constexpr int kMaxLinkHops = 40;  // as the kernel's own limit

// The names of a path, in order; "" and "." say nothing.
void prependComponents(std::deque<std::string>& rest, std::string_view path) {
    std::deque<std::string> front;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        const std::string_view name = path.substr(start, slash - start);
        if (!name.empty() && name != ".") front.emplace_back(name);
        start = slash + 1;
    }
    rest.insert(rest.begin(), front.begin(), front.end());
}

std::string parentOf(const std::string& directory) {
    const auto slash = directory.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : directory.substr(0, slash);
}

std::string childOf(const std::string& directory, const std::string& name) {
    return directory == "/" ? "/" + name : directory + "/" + name;
}

// Whether users other than its owner may put a link into the folder.
bool othersMayPlantIn(const std::string& folder, uid_t& owner) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return false;
    owner = info.st_uid;
    return (info.st_mode & S_IWOTH) != 0 || (info.st_mode & S_ISVTX) != 0;
}

}  // namespace

void requireTrustedLinks(const std::string& path, const std::string& action, PathEnd end) {
    if (::geteuid() != 0 || path.empty()) return;
    // Walked as the kernel resolves it: each link's text in place of its name, relative to the
    // folder the link is in. `folder` never holds a link, so ".." is its parent by name.
    std::string folder = "/";
    if (path.front() != '/') {
        try {
            folder = currentDirectory();
        } catch (const FileError&) {
            return;  // no current directory: a relative path reaches nothing to check
        }
    }
    std::deque<std::string> rest;
    prependComponents(rest, path);
    for (int hops = 0; !rest.empty();) {
        const std::string name = std::move(rest.front());
        rest.pop_front();
        if (name == "..") {
            folder = parentOf(folder);
            continue;
        }
        const std::string here = childOf(folder, name);
        struct stat link {};
        if (::lstat(here.c_str(), &link) != 0) return;  // nothing further is followed
        if (!S_ISLNK(link.st_mode)) {
            folder = here;
            continue;
        }
        if (++hops > kMaxLinkHops) return;  // the system reports the loop
        if (link.st_uid != 0) {
            const std::string owner = "owned by another user (uid " + std::to_string(link.st_uid) + ")";
            if (rest.empty() && end == PathEnd::File)
                throw FileError(action, path,
                                "it is a symbolic link " + owner + "; running as root, the program does not " + action +
                                    " through it");
            uid_t folderOwner = 0;
            if (othersMayPlantIn(folder, folderOwner) && folderOwner != link.st_uid)
                throw FileError(action, path,
                                (rest.empty() ? "it" : here) + " is a symbolic link " + owner +
                                    " in a folder that others may write to; running as root, the "
                                    "program does not follow it");
        }
        std::string text;
        if (!posix::readLinkText(here, text)) return;
        if (text.starts_with('/')) folder = "/";
        prependComponents(rest, text);
    }
}

}  // namespace inkrun::platform
