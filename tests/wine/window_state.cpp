// What a person sees in a Wine window that the tests cannot read through X, and the clipboard a
// person fills. Commands, each with the title of a top-level window:
//   statics TITLE     the texts of its static controls, one a line (a message box's message)
//   combos TITLE      the texts of its combo boxes, one a line (a file dialog's file types)
//   edits TITLE       the texts of its edit boxes, one a line
//   focus TITLE       the class and text of the control that has the keyboard focus
//   place TITLE       where its first edit box is on the screen: "WIDTHxHEIGHT+X+Y", as ImageMagick crops
//   marked TITLE      "selected of count" in its list box
//   cut TITLE         the texts of its static controls that the desktop's font (the message font)
//                     does not fit into their place, one a line; nothing when every text fits
//   clipboard FILE    puts the UTF-8 text of FILE on the clipboard, as a person's copy does
//   message-font PT   makes the desktop's font PT points high, as a person's choice in the
//                     settings does: kept in the prefix, announced to every window
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

void printUtf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
}

std::wstring textOf(HWND window) {
    // WM_GETTEXT reaches into another process's controls, where GetWindowText would not.
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return text;
}

std::wstring classOf(HWND window) {
    wchar_t kind[64] = L"";
    GetClassNameW(window, kind, 64);
    return kind;
}

struct Search {
    const wchar_t* kind;
    bool all;
    HWND found = nullptr;
};

BOOL CALLBACK visit(HWND child, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    if (lstrcmpiW(classOf(child).c_str(), search.kind) != 0) return TRUE;
    if (!search.all) {
        search.found = child;
        return FALSE;
    }
    if (const std::wstring text = textOf(child); !text.empty()) printUtf8(text);
    return TRUE;
}

int putOnClipboard(const wchar_t* file) {
    std::ifstream in(file, std::ios::binary);
    const std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (static_cast<SIZE_T>(length) + 1) * sizeof(wchar_t));
    auto* chars = static_cast<wchar_t*>(GlobalLock(memory));
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), chars, length);
    chars[length] = L'\0';
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) return 1;
    EmptyClipboard();
    const bool put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return put ? 0 : 1;
}

// Whether `text` in the desktop's font needs more than the control's client area. A control in
// a font of its own (the About window's maker) is measured in the desktop's all the same.
bool isCut(HWND control, const std::wstring& text) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ before = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, before);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    RECT place{};
    GetClientRect(control, &place);
    return size.cx > place.right || size.cy > place.bottom;
}

BOOL CALLBACK printCut(HWND child, LPARAM) {
    if (lstrcmpiW(classOf(child).c_str(), L"Static") != 0) return TRUE;
    if (const std::wstring text = textOf(child); !text.empty() && isCut(child, text)) printUtf8(text);
    return TRUE;
}

int setMessageFont(int points) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return 1;
    metrics.lfMessageFont.lfHeight = -MulDiv(points, 96, 72);
    return SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, metrics.cbSize, &metrics,
                                 SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
               ? 0
               : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::wstring command = argv[1];
    if (command == L"clipboard") return putOnClipboard(argv[2]);
    if (command == L"message-font") return setMessageFont(_wtoi(argv[2]));
    HWND window = FindWindowW(nullptr, argv[2]);
    if (!window) return 1;
    if (command == L"statics" || command == L"combos" || command == L"edits") {
        Search search{command == L"statics" ? L"Static" : command == L"combos" ? L"ComboBox" : L"Edit", true};
        EnumChildWindows(window, visit, reinterpret_cast<LPARAM>(&search));
        return 0;
    }
    if (command == L"focus") {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus) return 1;
        printUtf8(classOf(info.hwndFocus) + L" " + textOf(info.hwndFocus));
        return 0;
    }
    if (command == L"place") {
        Search search{L"Edit", false};
        EnumChildWindows(window, visit, reinterpret_cast<LPARAM>(&search));
        RECT place{};
        if (!search.found || !GetWindowRect(search.found, &place)) return 1;
        std::printf("%ldx%ld+%ld+%ld\n", place.right - place.left, place.bottom - place.top, place.left, place.top);
        return 0;
    }
    if (command == L"cut") {
        EnumChildWindows(window, printCut, 0);
        return 0;
    }
    if (command == L"marked") {
        Search search{L"ListBox", false};
        EnumChildWindows(window, visit, reinterpret_cast<LPARAM>(&search));
        if (!search.found) return 1;
        std::printf("%ld of %ld\n", static_cast<long>(SendMessageW(search.found, LB_GETSELCOUNT, 0, 0)),
                    static_cast<long>(SendMessageW(search.found, LB_GETCOUNT, 0, 0)));
        return 0;
    }
    return 2;
}
