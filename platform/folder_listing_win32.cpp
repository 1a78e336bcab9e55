#include "platform/folder.h"

#include <algorithm>

#include "platform/file_error.h"
#include "platform/file_lookup.h"
#include "platform/wide_text.h"
#include "platform/windows_api.h"

namespace inkrun::platform {

namespace {

bool endsInOneOf(std::string_view name, std::initializer_list<std::string_view> endings) {
    return std::any_of(endings.begin(), endings.end(),
                       [&](std::string_view ending) { return endsWithIgnoringCase(name, ending); });
}

// Calls each(entry) for every entry of the folder but "." and ".."; an empty root has none.
template <typename Each>
void forEachEntry(const std::string& directory, Each each) {
    std::wstring prefix = widen(directory);
    if (prefix.back() != L'\\' && prefix.back() != L'/') prefix.push_back(L'\\');
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileExW((prefix + L"*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A drive root has no "." entry to match "*": an empty root is no error.
        if (error == ERROR_FILE_NOT_FOUND && dirExists(directory)) return;
        throw FileError("list", directory, windowsReason(error));
    }
    struct FindCloser {
        HANDLE handle;
        ~FindCloser() { FindClose(handle); }
    } closer{find};
    do {
        const std::wstring name(entry.cFileName);
        if (name != L"." && name != L"..") each(name, entry.dwFileAttributes);
    } while (FindNextFileW(find, &entry));
    const DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) throw FileError("list", directory, windowsReason(error));
}

}  // namespace

FolderEntries Folder::entries() const {
    // An empty path is the root, as joining it with a name gives.
    const std::string directory = path_.empty() ? "\\" : path_;
    FolderEntries entries;
    forEachEntry(directory, [&](const std::wstring& name, DWORD attributes) {
        if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            entries.folders.push_back(narrow(name));  // a junction or a link to a folder too
        } else if (!(attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))) {
            entries.files.push_back(narrow(name));
        } else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            // A link counts by what it leads to, as the lookup judges it.
            std::string utf8 = narrow(name);
            if (isOrdinaryFile(directory, utf8)) entries.files.push_back(std::move(utf8));
        }
    });
    return entries;
}

std::vector<std::string> Folder::filesEndingIn(std::initializer_list<std::string_view> endings) const {
    std::vector<std::string> found;
    forEachEntry(path_.empty() ? "\\" : path_, [&](const std::wstring& name, DWORD attributes) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return;
        std::string utf8 = narrow(name);
        if (endsInOneOf(utf8, endings)) found.push_back(std::move(utf8));
    });
    return found;
}

bool Folder::isReadOnly(const std::string& name) const {
    const DWORD attributes = GetFileAttributesW(widen(pathOf(name)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}

}  // namespace inkrun::platform
