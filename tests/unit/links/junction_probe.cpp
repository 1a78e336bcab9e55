// What the system does with junctions and symbolic links to folders, and with a folder held open:
// the facts the folder layer's Windows half stands on. Run by hand, in an empty folder:
//   wine junction_probe.exe
// Its output under Wine is kept in junction_probe.txt; on Windows each line may differ.
#include <windows.h>
#include <winioctl.h>
#include <winternl.h>
#include <aclapi.h>
#include <sddl.h>

#include <cstdio>
#include <string>

namespace {

// The layout of a mount-point (junction) reparse buffer; winnt.h leaves it to the DDK.
struct MountPointBuffer {
    DWORD tag;
    WORD dataLength;
    WORD reserved;
    WORD substituteOffset;
    WORD substituteLength;
    WORD printOffset;
    WORD printLength;
    WCHAR paths[1024];
};

// `ok` is evaluated before the error is read: the system's error of the call it tells about.
void reportError(const char* what, bool ok, DWORD error) {
    if (ok) std::printf("%-64s yes\n", what);
    else std::printf("%-64s no (error %lu)\n", what, error);
}
#define report(what, ...)                       \
    do {                                        \
        const bool ok_ = (__VA_ARGS__);         \
        reportError(what, ok_, GetLastError()); \
    } while (false)

std::wstring full(const wchar_t* name) {
    wchar_t buffer[MAX_PATH];
    GetFullPathNameW(name, MAX_PATH, buffer, nullptr);
    return buffer;
}

std::string narrow(const std::wstring& text) {
    std::string out(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    out.pop_back();
    return out;
}

bool makeJunction(const wchar_t* junction, const std::wstring& target) {
    if (!CreateDirectoryW(junction, nullptr)) return false;
    HANDLE dir = CreateFileW(junction, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (dir == INVALID_HANDLE_VALUE) return false;
    const std::wstring substitute = L"\\??\\" + target;
    MountPointBuffer buffer{};
    buffer.tag = IO_REPARSE_TAG_MOUNT_POINT;
    const WORD bytes = static_cast<WORD>(substitute.size() * sizeof(WCHAR));
    buffer.substituteLength = bytes;
    buffer.printOffset = static_cast<WORD>(bytes + sizeof(WCHAR));
    buffer.printLength = static_cast<WORD>(target.size() * sizeof(WCHAR));
    substitute.copy(buffer.paths, substitute.size());
    target.copy(buffer.paths + substitute.size() + 1, target.size());
    buffer.dataLength = static_cast<WORD>(8 + bytes + sizeof(WCHAR) + buffer.printLength + sizeof(WCHAR));
    DWORD returned = 0;
    const bool ok = DeviceIoControl(dir, FSCTL_SET_REPARSE_POINT, &buffer, buffer.dataLength + 8, nullptr, 0, &returned,
                                    nullptr);
    const DWORD error = GetLastError();
    CloseHandle(dir);
    SetLastError(error);
    return ok;
}

std::wstring finalPath(HANDLE handle) {
    wchar_t buffer[1024];
    const DWORD length = GetFinalPathNameByHandleW(handle, buffer, 1024, 0);
    return length == 0 || length >= 1024 ? L"(none)" : std::wstring(buffer, length);
}

void ownerOf(const wchar_t* name) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = GetNamedSecurityInfoW(name, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                                              nullptr, nullptr, &descriptor);
    LPWSTR text = nullptr;
    if (error == ERROR_SUCCESS && owner && ConvertSidToStringSidW(owner, &text)) {
        std::printf("owner of %-55s %s\n", narrow(name).c_str(), narrow(text).c_str());
        LocalFree(text);
    } else {
        std::printf("owner of %-55s unknown (error %lu)\n", narrow(name).c_str(), error);
    }
    if (descriptor) LocalFree(descriptor);
}

}  // namespace

int wmain() {
    CreateDirectoryW(L"target", nullptr);
    CreateDirectoryW(L"parent", nullptr);
    CreateDirectoryW(L"parent\\held", nullptr);
    HANDLE file = CreateFileW(L"target\\inside.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);

    report("junction made with FSCTL_SET_REPARSE_POINT", makeJunction(L"junction", full(L"target")));
    const DWORD attributes = GetFileAttributesW(L"junction");
    report("junction shows FILE_ATTRIBUTE_REPARSE_POINT",
           attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT));
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW(L"junction", &found);
    report("FindFirstFileW gives the tag IO_REPARSE_TAG_MOUNT_POINT",
           find != INVALID_HANDLE_VALUE && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
               found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    report("a file is reached through the junction",
           GetFileAttributesW(L"junction\\inside.txt") != INVALID_FILE_ATTRIBUTES);

    HANDLE link = CreateFileW(L"junction", 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    report("the junction itself opens (FILE_FLAG_OPEN_REPARSE_POINT)", link != INVALID_HANDLE_VALUE);
    if (link != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info{};
        report("... and its handle says it is a reparse point",
               GetFileInformationByHandle(link, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT));
        MountPointBuffer buffer{};
        DWORD returned = 0;
        const bool read = DeviceIoControl(link, FSCTL_GET_REPARSE_POINT, nullptr, 0, &buffer, sizeof buffer, &returned,
                                          nullptr);
        report("... and FSCTL_GET_REPARSE_POINT reads it", read && buffer.tag == IO_REPARSE_TAG_MOUNT_POINT);
        if (read)
            std::printf("    it leads to %s\n",
                        narrow(std::wstring(buffer.paths + buffer.substituteOffset / sizeof(WCHAR),
                                            buffer.substituteLength / sizeof(WCHAR)))
                            .c_str());
        std::printf("    its own final path: %s\n", narrow(finalPath(link)).c_str());
        CloseHandle(link);
    }
    HANDLE through = CreateFileW(L"junction", 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (through != INVALID_HANDLE_VALUE) {
        std::printf("    opened through, its final path: %s\n", narrow(finalPath(through)).c_str());
        CloseHandle(through);
    }

    report("symbolic link to a folder (CreateSymbolicLinkW)",
           CreateSymbolicLinkW(L"dirlink", full(L"target").c_str(),
                               SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE));
    report("symbolic link to a file (CreateSymbolicLinkW)",
           CreateSymbolicLinkW(L"filelink.txt", full(L"target\\inside.txt").c_str(),
                               SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE));
    const DWORD linkAttributes = GetFileAttributesW(L"dirlink");
    report("the folder link shows FILE_ATTRIBUTE_REPARSE_POINT",
           linkAttributes != INVALID_FILE_ATTRIBUTES && (linkAttributes & FILE_ATTRIBUTE_REPARSE_POINT));

    HANDLE held = CreateFileW(L"parent\\held", FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    report("a folder opens without delete sharing", held != INVALID_HANDLE_VALUE);
    const bool movedHeld = MoveFileExW(L"parent\\held", L"parent\\moved", 0);
    report("... and can still be renamed", movedHeld);
    if (movedHeld) MoveFileExW(L"parent\\moved", L"parent\\held", 0);
    const bool movedParent = MoveFileExW(L"parent", L"parent2", 0);
    report("... and its parent can still be renamed", movedParent);
    if (movedParent) MoveFileExW(L"parent2", L"parent", 0);
    const bool removed = RemoveDirectoryW(L"parent\\held");
    report("... and can still be removed", removed);
    if (removed) CreateDirectoryW(L"parent\\held", nullptr);

    // openat: a name opened relative to a folder's handle.
    using NtCreateFileType = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                              PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
    const auto ntCreateFile = reinterpret_cast<NtCreateFileType>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtCreateFile"));
    HANDLE target = CreateFileW(L"target", FILE_LIST_DIRECTORY | FILE_TRAVERSE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (ntCreateFile && target != INVALID_HANDLE_VALUE) {
        wchar_t name[] = L"inside.txt";
        UNICODE_STRING unicode{static_cast<USHORT>(sizeof name - sizeof(wchar_t)), sizeof name, name};
        OBJECT_ATTRIBUTES object{};
        InitializeObjectAttributes(&object, &unicode, OBJ_CASE_INSENSITIVE, target, nullptr);
        IO_STATUS_BLOCK status{};
        HANDLE opened = nullptr;
        const NTSTATUS result = ntCreateFile(&opened, FILE_GENERIC_READ, &object, &status, nullptr, 0,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN,
                                             FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
        reportError("NtCreateFile opens a name relative to a folder's handle", result >= 0, static_cast<DWORD>(result));
        if (result >= 0) CloseHandle(opened);

        // A rename within the held folder, by handle: FILE_RENAME_INFO with RootDirectory.
        HANDLE renamed = CreateFileW(L"target\\inside.txt", DELETE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                     nullptr);
        if (renamed != INVALID_HANDLE_VALUE) {
            const std::wstring newName = L"renamed.txt";
            std::string bytes(sizeof(FILE_RENAME_INFO) + newName.size() * sizeof(wchar_t), '\0');
            auto* info = reinterpret_cast<FILE_RENAME_INFO*>(bytes.data());
            info->ReplaceIfExists = TRUE;
            info->RootDirectory = target;
            info->FileNameLength = static_cast<DWORD>(newName.size() * sizeof(wchar_t));
            newName.copy(info->FileName, newName.size());
            report("SetFileInformationByHandle renames relative to a folder's handle",
                   SetFileInformationByHandle(renamed, FileRenameInfo, info, static_cast<DWORD>(bytes.size())));
            CloseHandle(renamed);
            report("... and the file has its new name there",
                   GetFileAttributesW(L"target\\renamed.txt") != INVALID_FILE_ATTRIBUTES);
        }
        CloseHandle(target);
    }

    ownerOf(L"target");
    ownerOf(L"junction");
    ownerOf(L"C:\\windows");
    return 0;
}
