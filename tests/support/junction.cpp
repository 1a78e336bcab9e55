#include "support/junction.h"

#ifdef _WIN32
#include "platform/windows_api.h"

#include <winioctl.h>

namespace inkrun::test {

namespace {

// A mount-point reparse buffer, which winnt.h leaves to the driver kit.
struct MountPoint {
    DWORD tag;
    WORD dataLength;
    WORD reserved;
    WORD substituteOffset;
    WORD substituteLength;
    WORD printOffset;
    WORD printLength;
    WCHAR paths[2048];
};

}  // namespace

bool makeJunction(const std::wstring& junction, const std::wstring& target) {
    const std::wstring substitute = L"\\??\\" + target;
    if (substitute.size() + target.size() + 2 > 2048 || !CreateDirectoryW(junction.c_str(), nullptr)) return false;
    HANDLE folder = CreateFileW(junction.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return false;
    MountPoint buffer{};
    buffer.tag = IO_REPARSE_TAG_MOUNT_POINT;
    buffer.substituteLength = static_cast<WORD>(substitute.size() * sizeof(WCHAR));
    buffer.printOffset = static_cast<WORD>(buffer.substituteLength + sizeof(WCHAR));
    buffer.printLength = static_cast<WORD>(target.size() * sizeof(WCHAR));
    substitute.copy(buffer.paths, substitute.size());
    target.copy(buffer.paths + substitute.size() + 1, target.size());
    buffer.dataLength = static_cast<WORD>(8 + buffer.printOffset + buffer.printLength + sizeof(WCHAR));
    DWORD returned = 0;
    const bool made = DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, &buffer, buffer.dataLength + 8, nullptr, 0,
                                      &returned, nullptr);
    const DWORD error = GetLastError();
    CloseHandle(folder);
    if (!made) RemoveDirectoryW(junction.c_str());
    SetLastError(error);
    return made;
}

}  // namespace inkrun::test
#endif
