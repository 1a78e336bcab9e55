#include "platform/temporary_file_win32.h"

#include <chrono>
#include <vector>

#include "platform/temporary_name.h"
#include "platform/wide_text.h"
#include "platform/windows_api.h"

namespace inkrun::platform::win32 {

namespace {

std::chrono::seconds ageOf(const FILETIME& written) {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {  // 100-nanosecond intervals
        return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return std::chrono::seconds((ticks(now) - ticks(written)) / 10'000'000);
}

void removeIfStale(const std::wstring& path) {
    // Sharing nothing, the open fails while a writer, or anyone else, holds the file.
    const detail::NativeFile file(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.valid()) return;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.get(), &info)) return;
    if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) return;
    if (ageOf(info.ftLastWriteTime) < kStaleTemporaryAge) return;
    // Deleted through this very handle: the file examined is the file removed.
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition);
}

}  // namespace

unsigned long createTemporary(const std::string& directory, detail::NativeFile& file, std::string& name) {
    const DWORD error = underFreshTemporaryName<DWORD>(ERROR_FILE_EXISTS, [&](std::string candidate) -> DWORD {
        file = detail::NativeFile(CreateFileW(widen(directory + candidate).c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            const DWORD failure = GetLastError();
            return failure == ERROR_ALREADY_EXISTS ? ERROR_FILE_EXISTS : failure;
        }
        name = std::move(candidate);
        return 0;
    });
    return error;
}

void removeStaleTemporaries(const std::string& directory) noexcept {
    try {
        const std::wstring prefix = widen(directory);
        std::vector<std::wstring> found;
        WIN32_FIND_DATAW entry{};
        const HANDLE find = FindFirstFileExW((prefix + L".inkrun-*.tmp").c_str(), FindExInfoBasic, &entry,
                                             FindExSearchNameMatch, nullptr, 0);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            // The pattern also meets short names ("INKRUN~1.TMP"): only the long name counts.
            if (isTemporaryName(narrow(entry.cFileName))) found.push_back(prefix + entry.cFileName);
        } while (FindNextFileW(find, &entry));
        FindClose(find);
        for (const std::wstring& path : found) removeIfStale(path);
    } catch (...) {
        // Out of memory: the stale files wait for the next write.
    }
}

}  // namespace inkrun::platform::win32
