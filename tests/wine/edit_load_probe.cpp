// Measures how long the system's multi-line EDIT control, styled as the window's setup box,
// takes to take a large setup: all at once (WM_SETTEXT), and in pieces appended with
// EM_REPLACESEL as a load with a progress box would. Run under Wine by hand:
//   wine edit_load_probe.exe [megabytes]
// Its output under Wine is kept in edit_load_probe.txt.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

HWND makeBox(HWND parent) {
    HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL |
                                   ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                               10, 10, 320, 350, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0,
                             FIXED_PITCH | FF_MODERN, L"Courier New");
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return box;
}

void pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const long megabytes = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 10;
    std::wstring text;
    const std::wstring line = L"-layer set 0 ; a typical setup line\r\n";
    while (text.size() < static_cast<std::size_t>(megabytes) << 20) text += line;

    HWND window = CreateWindowExW(0, L"STATIC", L"edit load probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 360, 400,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    pump();
    std::printf("%ld MB, %zu lines\n", megabytes, text.size() / line.size());

    HWND whole = makeBox(window);
    auto start = std::chrono::steady_clock::now();
    SetWindowTextW(whole, text.c_str());
    std::printf("all at once: %.2f s\n", secondsSince(start));
    DestroyWindow(whole);

    for (const std::size_t piece : {std::size_t{1} << 20, std::size_t{256} << 10}) {
        HWND box = makeBox(window);
        start = std::chrono::steady_clock::now();
        double slowest = 0;
        for (std::size_t at = 0; at < text.size(); at += piece) {
            const auto pieceStart = std::chrono::steady_clock::now();
            const std::wstring part = text.substr(at, piece);
            SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(-1), -1);
            SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(part.c_str()));
            pump();
            const double took = secondsSince(pieceStart);
            if (took > slowest) slowest = took;
        }
        std::printf("in %zu KB pieces: %.2f s, slowest piece %.2f s\n", piece >> 10, secondsSince(start), slowest);
        DestroyWindow(box);
    }
    DestroyWindow(window);
    return 0;
}
