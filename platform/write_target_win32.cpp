#include "platform/write_target_win32.h"

#include <cerrno>

#include "platform/file_error.h"
#include "platform/file_io_backend.h"
#include "platform/wide_text.h"
#include "platform/windows_api.h"

namespace inkrun::platform::win32 {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

std::string writeDestination(const std::string& target) {
    const std::wstring wide = widen(target);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return target;
    const detail::NativeFile file(
        CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return target;
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (length >= buffer.size()) {
        buffer.resize(length);
        length = GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    if (length == 0 || length >= buffer.size()) return target;
    buffer.resize(length);
    return narrow(buffer);
}

std::string refusalToReplace(const std::wstring& destination) {
    const DWORD attributes = GetFileAttributesW(destination.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return systemReason(EISDIR);
    // Wine replaces a read-only file where Windows refuses: refuse the same everywhere.
    if (attributes & FILE_ATTRIBUTE_READONLY) return "the file is read-only";
    const detail::NativeFile file(CreateFileW(destination.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
    if (file.valid() && GetFileType(file.get()) != FILE_TYPE_DISK) return "not an ordinary file";
    return {};
}

std::size_t nameStart(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    if (separator != std::string::npos) return separator + 1;
    return path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

}  // namespace inkrun::platform::win32
