// What the system does with junctions and symbolic links to folders, and with a folder held open:
// the facts the folder layer's Windows half stands on. Run by hand, in an empty folder:
//   wine junction_probe.exe [LINK]
// LINK: a link to a folder made beforehand by other means (under Wine: ln -s target LINK).
// Its output under Wine is kept in junction_probe.txt; on Windows each line may differ.
#include <windows.h>
#include <winioctl.h>
#include <winternl.h>
#include <aclapi.h>
#include <sddl.h>

#include <cstdio>
#include <string>

#include "support/junction.h"

namespace {

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

void userOfThisProcess() {
    HANDLE token = nullptr;
    alignas(TOKEN_USER) char buffer[256];
    DWORD size = 0;
    LPWSTR text = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
        GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text)) {
        std::printf("%-64s %s\n", "this process's user", narrow(text).c_str());
        LocalFree(text);
    }
    if (token) CloseHandle(token);
}

// A link made by other means: what the system shows of it.
void existingLink(const wchar_t* name) {
    const DWORD attributes = GetFileAttributesW(name);
    std::printf("%-64s %s\n", ("attributes of " + narrow(name)).c_str(),
                attributes == INVALID_FILE_ATTRIBUTES              ? "none"
                : (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? "a folder and a reparse point"
                                                                   : "a folder, no reparse point");
    HANDLE self = CreateFileW(name, READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    report("... opened as itself, its handle says it is a reparse point",
           self != INVALID_HANDLE_VALUE && GetFileInformationByHandle(self, &info) &&
               (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT));
    if (self != INVALID_HANDLE_VALUE) {
        std::printf("    opened as itself, its final path: %s\n", narrow(finalPath(self)).c_str());
        CloseHandle(self);
    }
    ownerOf(name);
}

int wmain(int argc, wchar_t** argv) {
    userOfThisProcess();
    if (argc > 1) existingLink(argv[1]);
    CreateDirectoryW(L"target", nullptr);
    CreateDirectoryW(L"parent", nullptr);
    CreateDirectoryW(L"parent\\held", nullptr);
    HANDLE file = CreateFileW(L"target\\inside.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);

    report("junction made with FSCTL_SET_REPARSE_POINT", inkrun::test::makeJunction(L"junction", full(L"target")));
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
        struct {
            DWORD tag;
            WORD dataLength, reserved, substituteOffset, substituteLength, printOffset, printLength;
            WCHAR paths[2048];
        } buffer{};
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
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtCreateFile")));
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
