// What the system makes of names that Windows reads as something else, how a folder that tells
// letter case apart is made and looked up, and how a name is found in its stored spelling: the
// facts the Windows name rules and the letter-case lookups stand on. Run by hand, in an empty folder:
//   wine windows_names_probe.exe [FOLDER]
// FOLDER: a folder holding Inkrun.scr and inkrun.SCR, made beforehand by other means (under Wine,
// whose folders are the Linux ones: touch Inkrun.scr inkrun.SCR).
// Its output under Wine is kept in windows_names_probe.txt; on Windows each line may differ.
#include <windows.h>
#include <winternl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/wide_text.h"

namespace {

using inkrun::platform::narrow;

// The names FindFirstFileW and FindNextFileW give for a pattern.
std::vector<std::wstring> found(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileW(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(entry.cFileName);
    while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

std::vector<std::wstring> listing(const std::wstring& folder) {
    std::vector<std::wstring> names = found(folder + L"\\*");
    std::erase_if(names, [](const std::wstring& name) { return name == L"." || name == L".."; });
    return names;
}

std::string joined(const std::vector<std::wstring>& names) {
    std::string text;
    for (const std::wstring& name : names) text += (text.empty() ? "" : ", ") + narrow(name);
    return text.empty() ? "(nothing)" : text;
}

void removeAll(const std::wstring& folder) {
    for (const std::wstring& name : listing(folder)) {
        const std::wstring path = folder + L"\\" + name;
        if (!DeleteFileW(path.c_str())) {
            removeAll(path);
            RemoveDirectoryW(path.c_str());
        }
    }
}

// What CreateFileW does when asked to make `name` in the folder `folder`: a device opened, a file
// made (and under which name the folder lists it), or an error.
void create(const std::wstring& folder, const std::wstring& name) {
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string result;
    if (file == INVALID_HANDLE_VALUE) {
        result = "refused (error " + std::to_string(GetLastError()) + ")";
    } else {
        const DWORD type = GetFileType(file);
        CloseHandle(file);
        result = type == FILE_TYPE_CHAR ? "a device" : type == FILE_TYPE_DISK ? "a file" : "something else";
    }
    std::string shown(1, '"');
    shown.append(narrow(name)).push_back('"');
    std::printf("%-30s %-22s folder holds: %s\n", shown.c_str(), result.c_str(), joined(listing(folder)).c_str());
    removeAll(folder);
}

// Makes a file with exactly this name, whatever else the folder holds.
bool createExactly(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_POSIX_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// FILE_CASE_SENSITIVE_INFORMATION, as fsutil file setCaseSensitiveInfo sets it.
constexpr int kFileCaseSensitiveInformation = 71;
constexpr ULONG kCaseSensitiveDir = 1;
using NtSetInformationFileFn = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, int);
using NtQueryInformationFileFn = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, int);

void caseSensitiveFolder(const std::wstring& folder) {
    CreateDirectoryW(folder.c_str(), nullptr);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto set = reinterpret_cast<NtSetInformationFileFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "NtSetInformationFile")));
    auto query = reinterpret_cast<NtQueryInformationFileFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationFile")));
    HANDLE handle = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                nullptr);
    IO_STATUS_BLOCK io{};
    ULONG flags = kCaseSensitiveDir;
    const NTSTATUS setStatus = set(handle, &io, &flags, sizeof flags, kFileCaseSensitiveInformation);
    flags = 0;
    const NTSTATUS queryStatus = query(handle, &io, &flags, sizeof flags, kFileCaseSensitiveInformation);
    CloseHandle(handle);
    std::printf("FileCaseSensitiveInformation: set gives 0x%08lX, query gives 0x%08lX, flags %lu\n",
                static_cast<unsigned long>(setStatus), static_cast<unsigned long>(queryStatus), flags);

    const std::wstring upper = folder + L"\\Inkrun.scr", lower = folder + L"\\inkrun.SCR";
    std::printf("%-64s %s\n", "CreateFileW(CREATE_NEW, FILE_FLAG_POSIX_SEMANTICS) Inkrun.scr",
                createExactly(upper) ? "made" : "refused");
    std::printf("%-64s %s\n", "... then inkrun.SCR beside it", createExactly(lower) ? "made" : "refused");
    HANDLE plain = CreateFileW((folder + L"\\INKRUN.scr").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    std::printf(
        "%-64s %s\n", "CreateFileW(CREATE_NEW) INKRUN.scr, a third spelling",
        plain == INVALID_HANDLE_VALUE ? ("refused (error " + std::to_string(GetLastError()) + ")").c_str() : "made");
    if (plain != INVALID_HANDLE_VALUE) {
        CloseHandle(plain);
        DeleteFileW((folder + L"\\INKRUN.scr").c_str());
    }
    std::printf("%-64s %s\n", "the folder lists", joined(listing(folder)).c_str());

    for (const wchar_t* pattern : {L"Inkrun.scr", L"??????.???", L"INKRUN.SCR"})
        std::printf("%-64s %s\n", ("FindFirstFileW(\"" + narrow(pattern) + "\") finds").c_str(),
                    joined(found(folder + L"\\" + pattern)).c_str());

    std::printf("%-64s %s\n", "DeleteFileW(\"inkrun.SCR\")", DeleteFileW(lower.c_str()) ? "yes" : "no");
    std::printf("%-64s %s\n", "... the folder then lists", joined(listing(folder)).c_str());
    removeAll(folder);
    RemoveDirectoryW(folder.c_str());
}

// What the lookups make of a folder that holds two spellings of one name.
void twoSpellings(const std::wstring& folder) {
    std::printf("%-64s %s\n", "the folder lists", joined(listing(folder)).c_str());
    for (const wchar_t* pattern : {L"Inkrun.scr", L"inkrun.SCR", L"INKRUN.SCR", L"??????.???", L"?nkrun.sc?"})
        std::printf("%-64s %s\n", ("FindFirstFileW(\"" + narrow(pattern) + "\") finds").c_str(),
                    joined(found(folder + L"\\" + pattern)).c_str());
    BY_HANDLE_FILE_INFORMATION info[2]{};
    const wchar_t* names[2] = {L"Inkrun.scr", L"inkrun.SCR"};
    for (int i = 0; i < 2; ++i) {
        HANDLE file = CreateFileW((folder + L"\\" + names[i]).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        GetFileInformationByHandle(file, &info[i]);
        CloseHandle(file);
    }
    std::printf("%-64s %s\n", "the two spellings open two files",
                info[0].nFileIndexLow != info[1].nFileIndexLow ? "yes" : "no");
    const std::wstring temporary = folder + L"\\new.tmp";
    CloseHandle(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    std::printf(
        "%-64s %s\n", "MoveFileExW(new.tmp, Inkrun.scr, REPLACE_EXISTING)",
        MoveFileExW(temporary.c_str(), (folder + L"\\Inkrun.scr").c_str(), MOVEFILE_REPLACE_EXISTING) ? "yes" : "no");
    std::printf("%-64s %s\n", "... the folder then lists", joined(listing(folder)).c_str());
    std::printf("%-64s %s\n", "DeleteFileW(\"inkrun.SCR\")",
                DeleteFileW((folder + L"\\inkrun.SCR").c_str()) ? "yes" : "no");
    std::printf("%-64s %s\n", "... the folder then lists", joined(listing(folder)).c_str());
}

// The spelling of a path as the folders store it, by FindFirstFileW on each step and by the
// system's own calls.
void storedSpelling(const std::wstring& folder) {
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\Tower").c_str(), nullptr);
    CloseHandle(CreateFileW((folder + L"\\Tower\\T-2.dwg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    CloseHandle(CreateFileW((folder + L"\\Tower\\a drawing with a long name.dwg").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_NEW, 0, nullptr));
    const std::wstring typed = folder + L"\\tower\\t-2.DWG";
    std::printf("%-64s %s\n", "FindFirstFileW(\"tower\\t-2.DWG\") gives", joined(found(typed)).c_str());
    wchar_t buffer[MAX_PATH];
    DWORD length = GetLongPathNameW(typed.c_str(), buffer, MAX_PATH);
    std::printf("%-64s %s\n", "GetLongPathNameW(\"...\\tower\\t-2.DWG\") gives",
                length ? narrow(buffer).c_str() : "nothing");
    length = GetShortPathNameW((folder + L"\\Tower\\a drawing with a long name.dwg").c_str(), buffer, MAX_PATH);
    const std::wstring shortName = length ? std::wstring(buffer) : L"";
    std::printf("%-64s %s\n", "GetShortPathNameW(\"a drawing with a long name.dwg\") gives",
                length ? narrow(shortName).c_str() : "nothing");
    if (length)
        std::printf("%-64s %s\n", "... FindFirstFileW of that short name gives", joined(found(shortName)).c_str());
    removeAll(folder);
    RemoveDirectoryW(folder.c_str());
}

void fullPath(const wchar_t* path) {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetFullPathNameW(path, MAX_PATH, buffer, nullptr);
    std::printf("%-64s %s\n", ("GetFullPathNameW(\"" + narrow(path) + "\")").c_str(),
                length ? narrow(buffer).c_str() : "fails");
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    wchar_t here[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, here);
    const std::wstring folder = std::wstring(here) + L"\\probe";

    std::printf("Names made with CreateFileW(CREATE_ALWAYS):\n");
    std::vector<std::wstring> names{L"CON",       L"con.dwg",   L"CON.tar.dwg", L"CON .dwg", L"nul.dwg",  L"NUL:",
                                    L"PRN.dwg",   L"AUX.dwg",   L"COM1.dwg",    L"com9.dwg", L"COM0.dwg", L"LPT1.dwg",
                                    L"LPT0.dwg",  L"COM10.dwg", L"CONIN$.dwg",  L"CONOUT$",  L"CON1.dwg", L"xCON.dwg",
                                    L"plan.dwg.", L"plan.dwg ", L"plan.dwg. .", L"A:B.dwg"};
    for (const wchar_t superscript : {L'\u00B9', L'\u00B2', L'\u00B3'}) {
        names.push_back(std::wstring(L"COM") + superscript + L".dwg");
        names.push_back(std::wstring(L"lpt") + superscript);
    }
    for (const std::wstring& name : names) create(folder, name);

    std::printf("\nA folder whose name ends in a dot or a space, then a file in it:\n");
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* step : {L"rev.", L"rev ", L"rev"}) {
        const std::wstring sub = folder + L"\\" + step;
        const BOOL made = CreateDirectoryW(sub.c_str(), nullptr);
        std::printf("CreateDirectoryW(\"%s\") %-10s folder holds: %s\n", narrow(step).c_str(), made ? "yes" : "no",
                    joined(listing(folder)).c_str());
    }
    CloseHandle(
        CreateFileW((folder + L"\\rev\\plan.dwg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const DWORD attributes = GetFileAttributesW((folder + L"\\rev.\\plan.dwg").c_str());
    std::printf("%-64s %s\n", "GetFileAttributesW(\"rev.\\plan.dwg\"), with only rev\\plan.dwg there",
                attributes == INVALID_FILE_ATTRIBUTES ? "not found" : "found (rev\\plan.dwg)");
    removeAll(folder);
    RemoveDirectoryW(folder.c_str());

    std::printf("\nA folder that tells letter case apart:\n");
    caseSensitiveFolder(folder);

    if (argc > 1) {
        std::printf("\nA folder holding Inkrun.scr and inkrun.SCR, made by other means:\n");
        twoSpellings(argv[1]);
    }

    std::printf("\nThe spelling on disk:\n");
    storedSpelling(folder);

    std::printf("\nBare drives and shares:\n");
    for (const wchar_t* path : {L"Z:", L"Z:jobs", L"C:", L"\\\\", L"\\\\server", L"\\\\server\\"}) fullPath(path);
    return 0;
}
