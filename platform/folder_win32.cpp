#include "platform/folder.h"

#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/wide_text.h"
#include "platform/windows_api.h"

#include <aclapi.h>
#include <filesystem>
#include <system_error>
#include <sddl.h>

// Folders held by handle on Windows. A name in a folder is still reached by its full path: the
// handles held keep the folder and every folder on the way from being renamed, removed or
// replaced by a junction meanwhile, as Windows refuses all three for a folder open without
// delete sharing.

namespace inkrun::platform {

namespace {

constexpr DWORD kShareAllButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;

// The owner of an open file or folder, as its SID; empty when it cannot be read.
std::wstring ownerOf(HANDLE handle, bool& trusted) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    trusted = false;
    if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return {};
    std::wstring text;
    LPWSTR sid = nullptr;
    if (owner && ConvertSidToStringSidW(owner, &sid)) {
        text = sid;
        LocalFree(sid);
    }
    // The system's own junctions ("Documents and Settings") belong to SYSTEM or TrustedInstaller.
    trusted = owner &&
              (IsWellKnownSid(owner, WinLocalSystemSid) || IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
               text == L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464");
    if (owner && !trusted) {
        HANDLE token = nullptr;
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
            alignas(TOKEN_USER) char buffer[256];
            DWORD size = 0;
            if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size))
                trusted = EqualSid(owner, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid) != 0;
            CloseHandle(token);
        }
    }
    LocalFree(descriptor);
    return text;
}

std::wstring fullPathOf(const std::wstring& path) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (length == 0) return path;
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(length);
    }
}

// Where the steps after the root start: past "C:\", "\\server\share\", "\\?\C:\" or "\\?\UNC\s\s\".
std::size_t rootLength(const std::wstring& full) {
    std::size_t at = 0;
    if (full.starts_with(L"\\\\?\\")) at = 4;
    if (full.compare(at, 4, L"UNC\\") == 0 || (at == 0 && full.starts_with(L"\\\\"))) {
        at += at == 0 ? 2 : 4;
        for (int parts = 0; parts < 2 && at < full.size(); ++parts) {
            while (at < full.size() && full[at] != L'\\') ++at;
            if (at < full.size()) ++at;
        }
        return at;
    }
    return std::min(full.size(), at + 3);  // "C:\"
}

// Where an open folder is, as Windows names it, without the "\\?\" that GetFinalPathNameByHandleW
// puts before it; empty when it cannot be told.
std::string finalPathOf(HANDLE handle) {
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (length >= buffer.size()) {
        buffer.resize(length);
        length = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    if (length == 0 || length >= buffer.size()) return {};
    buffer.resize(length);
    if (buffer.starts_with(L"\\\\?\\UNC\\")) buffer.replace(0, 8, L"\\\\");
    else if (buffer.starts_with(L"\\\\?\\")) buffer.erase(0, 4);
    return narrow(buffer);
}

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY ||
           error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH;
}

// Holds each folder on the way to `full`, a junction or link only when its owner is trusted.
// Returns the error of a step that cannot be held; throws for a link refused.
DWORD holdSteps(const std::wstring& full, const std::string& path, const std::string& action,
                std::vector<detail::NativeFile>& held) {
    for (std::size_t end = rootLength(full); end < full.size();) {
        std::size_t next = full.find(L'\\', end);
        if (next == std::wstring::npos) next = full.size();
        const std::wstring step = full.substr(0, next);
        end = next + 1;
        const DWORD attributes = GetFileAttributesW(step.c_str());
        // A folder missing on the way, or the folder itself: the path is not found.
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error;
        }
        // The link itself first, so that its owner is read from what is then followed.
        const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        detail::NativeFile self(
            CreateFileW(step.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES, kShareAllButDelete, nullptr, OPEN_EXISTING,
                        FILE_FLAG_BACKUP_SEMANTICS | (link ? FILE_FLAG_OPEN_REPARSE_POINT : 0), nullptr));
        if (!self.valid()) return GetLastError();
        if (link) {
            bool trusted = false;
            const std::wstring owner = ownerOf(self.get(), trusted);
            if (!trusted)
                throw FileError(action, path,
                                narrow(step) + " is a junction or symbolic link owned by another user (" +
                                    (owner.empty() ? "unknown" : narrow(owner)) + "); the program does not follow it");
        }
        held.push_back(std::move(self));
    }
    return 0;
}

// A folder opened, with what holds the way to it.
struct Opened {
    detail::NativeFile folder;
    std::string resolved;
    std::vector<detail::NativeFile> held;
};

std::optional<Opened> openFolder(const std::string& path, const std::string& action, bool missingGivesNothing) {
    // An empty path is the root, as joining it with a name gives; a bare drive is its root too.
    std::wstring wide = path.empty() ? L"\\" : widen(path);
    if (isBareDrive(path)) wide.push_back(L'\\');
    const std::wstring full = fullPathOf(wide);
    Opened opened;
    DWORD error = holdSteps(full, path, action, opened.held);
    if (!error) {
        opened.folder = detail::NativeFile(CreateFileW(full.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                                       kShareAllButDelete, nullptr, OPEN_EXISTING,
                                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!opened.folder.valid()) error = GetLastError();
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!error && (!GetFileInformationByHandle(opened.folder.get(), &info) ||
                   !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)))
        error = ERROR_DIRECTORY;
    if (error) {
        if (missingGivesNothing && isMissing(error)) return std::nullopt;
        throw FileError(action, path, windowsReason(error));
    }
    opened.resolved = finalPathOf(opened.folder.get());
    if (opened.resolved.empty()) opened.resolved = narrow(full);
    return opened;
}

// The name listings take for the folder: an empty path is the root.
std::string listed(const std::string& path) { return path.empty() ? "\\" : path; }

}  // namespace

Folder Folder::open(const std::string& path, const std::string& action, char separator) {
    Opened opened = *openFolder(path, action, false);
    return Folder(path, separator, std::move(opened.folder), std::move(opened.resolved), std::move(opened.held));
}

std::optional<Folder> Folder::openIfThere(const std::string& path, const std::string& action, char separator) {
    std::optional<Opened> opened = openFolder(path, action, true);
    if (!opened) return std::nullopt;
    return Folder(path, separator, std::move(opened->folder), std::move(opened->resolved), std::move(opened->held));
}

Folder Folder::openMaking(const std::string& path, const std::string& action, char separator) {
    if (auto there = openIfThere(path, action, separator)) return std::move(*there);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(widen(path)), error);
    if (error) throw FileError(action, path, error.message());
    return open(path, action, separator);
}

Folder Folder::subfolder(const std::string& name, const std::string& action) const {
    return open(pathOf(name), action, separator_);
}

std::string Folder::resolvedPath() const { return resolved_; }

FileIdentity Folder::identity() const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle_.get(), &info)) return {};
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::optional<FileIdentity> Folder::identityOf(const std::string& name) const { return fileIdentity(pathOf(name)); }

std::optional<Folder::FileStamp> Folder::stampOf(const std::string& name) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (name.empty() || !GetFileAttributesExW(widen(pathOf(name)).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return FileStamp{(static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                     static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                               data.ftLastWriteTime.dwLowDateTime)};
}

std::vector<std::string> Folder::ordinaryFiles() const { return listOrdinaryFiles(listed(path_)); }

std::vector<std::string> Folder::caseVariants(const std::string& name) const {
    return listCaseVariants(listed(path_), name);
}

std::vector<std::string> Folder::entriesNamedLike(const std::string& name) const {
    std::vector<std::string> found;
    if (name.empty() || name.find_first_of("\\/:*?\"<>|") != std::string::npos) return found;
    const std::wstring wanted = widen(name);
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileExW(widen(pathOf(name)).c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                         nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return found;
        throw FileError("list", path_, windowsReason(error));
    }
    // The search also matches short 8.3 aliases ("SETUP1~1.TXT"): only the long names count.
    do {
        if (CompareStringOrdinal(entry.cFileName, -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL)
            found.push_back(narrow(entry.cFileName));
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    sortExactNameFirst(found, name);
    return found;
}

void Folder::removeFile(const std::string& name) const { platform::removeFile(pathOf(name)); }

}  // namespace inkrun::platform
