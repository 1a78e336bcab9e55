// Prints the text of the message box with the given title, as a person would read it: the
// tests cannot read a Wine window's controls through X.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

BOOL CALLBACK printText(HWND child, LPARAM) {
    wchar_t kind[32];
    GetClassNameW(child, kind, 32);
    if (lstrcmpiW(kind, L"Static") != 0) return TRUE;
    wchar_t text[4096];
    const int length = GetWindowTextW(child, text, 4096);
    if (length <= 0) return TRUE;
    char utf8[16384];
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, sizeof utf8, nullptr, nullptr);
    std::fwrite(utf8, 1, static_cast<std::size_t>(size), stdout);
    std::fputc('\n', stdout);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    HWND box = FindWindowW(nullptr, argv[1]);
    if (!box) return 1;
    EnumChildWindows(box, printText, 0);
    return 0;
}
