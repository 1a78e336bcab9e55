#include "platform/file_lookup.h"

#include <algorithm>

#include "platform/file_error.h"
#include "platform/wide_text.h"
#include "platform/windows_api.h"

// The directory services on Windows, through the wide API so that no name is squeezed into the
// code page on its way.

namespace inkrun::platform {

namespace {

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// A single entry's name that FindFirstFileW takes literally: no separator, drive or stream
// colon, and none of the characters it would read as wildcards.
bool isPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return false;
    return true;
}

// Not a directory, hidden or system file. A link is judged by what it points to.
bool isOrdinaryEntry(const std::wstring& path, const WIN32_FIND_DATAW& entry) {
    constexpr DWORD kExcluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_DEVICE;
    if (entry.dwFileAttributes & kExcluded) return false;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ordinary = GetFileInformationByHandle(file, &info) && !(info.dwFileAttributes & kExcluded) &&
                          GetFileType(file) == FILE_TYPE_DISK;
    CloseHandle(file);
    return ordinary;
}

// Names compared the way the file system matches them: upper-cased by the system's table.
bool sameNameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// The directory as the start of a search pattern: one separator before the pattern, whatever
// the directory ends in. A bare drive ("C:") is its root, as joining it with a name gives.
std::wstring searchPrefix(const std::string& directory) {
    std::wstring prefix = widen(directory);
    if (!prefix.empty() && prefix.back() != L'\\' && prefix.back() != L'/') prefix.push_back(L'\\');
    return prefix;
}

// A directory as Windows must be given it: a bare drive ("C:") would mean that drive's current
// folder, but as a remembered or picked directory it names the root.
std::wstring directoryPath(const std::string& directory) {
    std::wstring path = widen(directory);
    if (isBareDrive(directory)) path.push_back(L'\\');
    return path;
}

// Calls keep(name) for each entry of `directory` matching `pattern` that is an ordinary file.
// An empty match is no error; a directory that cannot be read throws.
template <typename Keep>
void scanDirectory(const std::string& directory, const std::wstring& pattern, Keep keep) {
    if (directory.empty()) throw FileError("list", directory, windowsReason(ERROR_PATH_NOT_FOUND));
    const std::wstring prefix = searchPrefix(directory);
    WIN32_FIND_DATAW entry{};
    FindHandle find(FindFirstFileExW((prefix + pattern).c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find.valid()) {
        const DWORD error = GetLastError();
        // No match in a directory that exists; a drive root has no "." entry to match "*".
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
            const DWORD attributes = GetFileAttributesW(directoryPath(directory).c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
        }
        throw FileError("list", directory, windowsReason(error));
    }
    do {
        const std::wstring name(entry.cFileName);
        if (name == L"." || name == L"..") continue;
        if (isOrdinaryEntry(prefix + name, entry)) keep(name);
    } while (FindNextFileW(find.get(), &entry));
    const DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) throw FileError("list", directory, windowsReason(error));
}

// A search pattern that matches `name` in every letter case, also in a folder that tells case
// apart (where the name itself finds only its own spelling): each letter is a "?".
std::wstring everyCaseOf(const std::wstring& name) {
    std::wstring pattern = name;
    for (wchar_t& c : pattern)
        if (c >= 0x80 || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')) c = L'?';
    return pattern;
}

// The ordinary files whose names equal `name` without regard to case. The search also matches
// other names and short 8.3 aliases ("SETUP1~1.TXT"): only long names equal to it count.
std::vector<std::wstring> caseVariants(const std::string& directory, const std::string& name) {
    std::vector<std::wstring> found;
    if (!isPlainName(name)) return found;
    const std::wstring wanted = widen(name);
    scanDirectory(directory, everyCaseOf(wanted), [&](const std::wstring& entry) {
        if (sameNameIgnoringCase(entry, wanted)) found.push_back(entry);
    });
    return found;
}

}  // namespace

bool isOrdinaryFile(const std::string& directory, const std::string& name) {
    try {
        return !directory.empty() && !caseVariants(directory, name).empty();
    } catch (...) {
        return false;
    }
}

std::vector<std::string> listOrdinaryFiles(const std::string& directory) {
    std::vector<std::string> names;
    scanDirectory(directory, L"*", [&](const std::wstring& name) { names.push_back(narrow(name)); });
    return names;
}

std::optional<std::string> findOrdinaryFile(const std::string& directory, const std::string& name, char separator) {
    std::vector<std::wstring> found;
    try {
        found = caseVariants(directory, name);
    } catch (const FileError&) {
        return std::nullopt;
    }
    if (found.empty()) return std::nullopt;
    // A case-sensitive directory may hold several; the exact name first, else the smallest.
    const std::wstring wanted = widen(name);
    std::wstring best = found.front();
    for (const std::wstring& entry : found) {
        if (entry == wanted) {
            best = entry;
            break;
        }
        if (entry < best) best = entry;
    }
    return joinPath(directory, narrow(best), separator);
}

std::vector<std::string> listCaseVariants(const std::string& directory, const std::string& name) {
    std::vector<std::string> names;
    for (const std::wstring& entry : caseVariants(directory, name)) names.push_back(narrow(entry));
    return names;
}

std::optional<std::string> whyNotOrdinary(const std::string& path) {
    const std::wstring wide = widen(path);
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return windowsReason(path.empty() ? ERROR_FILE_NOT_FOUND : GetLastError());
    // What the lookup passes over, the window takes for missing; a build is told why.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "it is a directory, not an ordinary file";
    if (attributes & FILE_ATTRIBUTE_HIDDEN) return "it is a hidden file, not an ordinary file";
    if (attributes & FILE_ATTRIBUTE_SYSTEM) return "it is a system file, not an ordinary file";
    WIN32_FIND_DATAW entry{};
    entry.dwFileAttributes = attributes;
    if (isOrdinaryEntry(wide, entry)) return std::nullopt;
    return attributes & FILE_ATTRIBUTE_REPARSE_POINT ? "it is a symbolic link that leads to no ordinary file"
                                                     : "it is a device, not an ordinary file";
}

namespace {

// How long the root of a full path is: "C:\" or "\\server\share\"; 0 for any other path.
std::size_t rootLength(std::string_view path) {
    if (path.size() >= 3 && path[1] == ':' && isPathSeparator(path[2])) return 3;
    if (path.size() < 2 || !isPathSeparator(path[0]) || !isPathSeparator(path[1])) return 0;
    std::size_t at = 2;
    for (int part = 0; part < 2; ++part) {
        while (at < path.size() && !isPathSeparator(path[at])) ++at;
        if (at < path.size()) ++at;
    }
    return at;
}

// The name of the entry `step` of `folder` as the folder stores it, or nullopt when there is none.
std::optional<std::wstring> storedName(const std::string& folder, std::string_view step) {
    if (!isPlainName(step)) return std::nullopt;
    WIN32_FIND_DATAW entry{};
    FindHandle find(FindFirstFileExW((widen(folder) + widen(step)).c_str(), FindExInfoBasic, &entry,
                                     FindExSearchNameMatch, nullptr, 0));
    if (!find.valid()) return std::nullopt;
    return std::wstring(entry.cFileName);
}

}  // namespace

std::string StoredSpelling::of(const std::string& path, std::size_t kept) {
    kept = std::max(kept, rootLength(path));
    if (kept == 0 || kept > path.size()) return path;
    std::string spelled = path.substr(0, kept);  // ends in a separator
    for (std::size_t at = kept; at < path.size();) {
        const std::size_t end = std::min(path.find_first_of("\\/", at), path.size());
        const std::string given = path.substr(0, end);
        if (const auto folder = folders_.find(given); folder != folders_.end() && end < path.size()) {
            spelled = folder->second + path[end];
            at = end + 1;
            continue;
        }
        const std::optional<std::wstring> stored = storedName(spelled, std::string_view(path).substr(at, end - at));
        if (!stored) return spelled + path.substr(at);
        spelled += narrow(*stored);
        if (end < path.size()) {
            folders_.emplace(given, spelled);
            spelled.push_back(path[end]);
        }
        at = end + 1;
    }
    return spelled;
}

bool dirExists(const std::string& path) noexcept {
    try {
        if (path.empty()) return false;
        const DWORD attributes = GetFileAttributesW(directoryPath(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    } catch (...) {
        return false;
    }
}

std::string currentDirectory() {
    // As Windows reports it: no trailing backslash, except at a drive root ("C:\").
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) throw FileError("read", ".", windowsReason(GetLastError()));
        if (length < buffer.size()) {
            buffer.resize(length);
            return narrow(buffer);
        }
        buffer.resize(length);
    }
}

}  // namespace inkrun::platform
