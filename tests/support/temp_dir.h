#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_lookup.h"

namespace inkrun::test {

// The platform's separator, to build expected paths.
inline const std::string kSep(1, platform::kPathSeparator);

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return platform::joinPath(path_, name); }
    // Writes bytes to a file below the directory (parents must exist); returns its path.
    std::string write(std::string_view name, std::string_view bytes) const;
    std::string read(std::string_view name) const;
    std::string mkdir(std::string_view name) const;

private:
    std::string path_;
};

// UTF-8 text <-> std::filesystem paths, the same on every system (a narrow path would go
// through the ANSI code page on Windows).
std::filesystem::path pathOf(std::string_view utf8);
std::string textOf(const std::filesystem::path& path);

// Why a file or directory that is not there cannot be reached, in the system's words.
std::string missingFileReason();
std::string missingDirectoryReason();

std::string readFile(const std::string& path);

// Sets a file's or directory's modification time `offset` from now: an hour back is a drawing
// directory as a nightly build finds it.
void stampFile(const std::string& path, std::chrono::seconds offset);

// A character device like /dev/null (minor 3) or /dev/full (minor 7) for a write to aim at. As
// root it is a node of its own in `dir`, so that a faulty write replaces no device the system
// uses; other users get the system's, which they cannot replace.
std::string characterDevice(const TempDir& dir, const std::string& name, unsigned minor);
void writeFile(const std::string& path, std::string_view bytes);

// Writes a file under exactly its name beside one whose name differs only in letter case, as a
// folder that tells case apart holds them: every POSIX folder; on Windows a folder made
// case-sensitive (NTFS, where the system offers it), or under Wine, whose folders are the Linux
// ones, the Linux file of that name. False, writing nothing, where the system cannot.
bool writeBesideOtherCases(const std::string& path, std::string_view bytes);

// Points the person's own data folder (platform/user_places.h) into `base` while it lives: a
// run's kept setups never mix with another's, nor with the machine's own.
class DataFolderGuard {
public:
    explicit DataFolderGuard(const std::string& base);
    ~DataFolderGuard();
    DataFolderGuard(const DataFolderGuard&) = delete;
    DataFolderGuard& operator=(const DataFolderGuard&) = delete;

private:
    std::optional<std::string> old_;
};

}  // namespace inkrun::test
