#include "platform/file_identity.h"

#include "platform/wide_text.h"
#include "platform/windows_api.h"

namespace inkrun::platform {

std::optional<FileIdentity> fileIdentity(const std::string& path) noexcept {
    try {
        if (path.empty()) return std::nullopt;
        // No access asked for and every sharing mode allowed: a file open elsewhere still answers.
        // Backup semantics let a directory be opened too; links are followed.
        HANDLE file = CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) return std::nullopt;
        BY_HANDLE_FILE_INFORMATION info{};
        const bool known = GetFileInformationByHandle(file, &info) != 0;
        CloseHandle(file);
        if (!known) return std::nullopt;
        return FileIdentity{info.dwVolumeSerialNumber,
                            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace inkrun::platform
