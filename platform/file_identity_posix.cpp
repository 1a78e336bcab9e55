#include "platform/file_identity.h"

#include <sys/stat.h>

namespace inkrun::platform {

std::optional<FileIdentity> fileIdentity(const std::string& path) noexcept {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace inkrun::platform
