#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace inkrun::platform {

// What a path names on disk, whatever links stand between the names: device and inode on POSIX,
// volume serial number and file ID on Windows. Two names are one file when their identities match.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file a path names, symbolic links followed; nullopt when there is no such
// file or it cannot be examined. Never throws.
std::optional<FileIdentity> fileIdentity(const std::string& path) noexcept;

}  // namespace inkrun::platform
