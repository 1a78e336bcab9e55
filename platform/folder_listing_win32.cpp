#include "platform/folder.h"

#include "platform/file_error.h"
#include "platform/file_lookup.h"
#include "platform/wide_text.h"
#include "platform/windows_api.h"

namespace inkrun::platform {

FolderEntries Folder::entries() const {
    // An empty path is the root, as joining it with a name gives.
    const std::string directory = path_.empty() ? "\\" : path_;
    std::wstring prefix = widen(directory);
    if (prefix.back() != L'\\' && prefix.back() != L'/') prefix.push_back(L'\\');
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileExW((prefix + L"*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A drive root has no "." entry to match "*": an empty root is no error.
        if (error == ERROR_FILE_NOT_FOUND && dirExists(directory)) return {};
        throw FileError("list", directory, windowsReason(error));
    }
    struct FindCloser {
        HANDLE handle;
        ~FindCloser() { FindClose(handle); }
    } closer{find};
    FolderEntries entries;
    do {
        const std::wstring name(entry.cFileName);
        const DWORD attributes = entry.dwFileAttributes;
        if (name == L"." || name == L".." || (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) continue;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            entries.folders.push_back(narrow(name));  // a junction or a link to a folder too
        } else if (!(attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))) {
            entries.files.push_back(narrow(name));
        } else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            // A link counts by what it leads to, as the lookup judges it.
            std::string utf8 = narrow(name);
            if (isOrdinaryFile(directory, utf8)) entries.files.push_back(std::move(utf8));
        }
    } while (FindNextFileW(find, &entry));
    const DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) throw FileError("list", directory, windowsReason(error));
    return entries;
}

}  // namespace inkrun::platform
