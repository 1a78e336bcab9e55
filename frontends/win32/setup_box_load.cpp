#include "frontends/win32/setup_box_load.h"

#include <commctrl.h>

#include <algorithm>

#include "model/window_description.h"
#include "platform/wide_text.h"

namespace inkrun::win32 {

namespace {

// Where the piece from `at` ends: after its last line end, or, in a line longer than a piece,
// never between the two halves of a surrogate pair.
std::size_t pieceEnd(const std::wstring& text, std::size_t at) {
    const std::size_t end = std::min(text.size(), at + ui::kSetupLoadPiece);
    if (end == text.size()) return end;
    const std::size_t lineEnd = text.rfind(L'\n', end - 1);
    if (lineEnd != std::wstring::npos && lineEnd >= at) return lineEnd + 1;
    return IS_HIGH_SURROGATE(text[end - 1]) ? end - 1 : end;
}

// The progress box: a caption, the text and a bar, centred on the owner. It is a window of the
// system's dialog class, which paints its face and, unlike a static, not its caption text.
class ProgressBox {
public:
    ProgressBox(HWND owner, std::size_t pieces) {
        const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
        RECT ownerPlace{};
        GetWindowRect(owner, &ownerPlace);
        const int width = 320, height = 110;
        box_ = CreateWindowExW(WS_EX_DLGMODALFRAME, L"#32770", L"Inkrun", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                               (ownerPlace.left + ownerPlace.right - width) / 2,
                               (ownerPlace.top + ownerPlace.bottom - height) / 2, width, height, owner, nullptr,
                               instance, nullptr);
        if (!box_) return;
        // The window's own controls' font.
        HWND control = GetWindow(owner, GW_CHILD);
        const auto font = control ? reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)) : nullptr;
        HWND label = CreateWindowExW(0, L"STATIC", platform::widen(std::string(ui::kSetupLoadingText)).c_str(),
                                     WS_CHILD | WS_VISIBLE, 12, 10, width - 30, 20, box_, nullptr, instance, nullptr);
        if (font) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        bar_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 12, 36, width - 30, 18, box_, nullptr,
                               instance, nullptr);
        SendMessageW(bar_, PBM_SETRANGE32, 0, static_cast<LPARAM>(pieces));
        showPainted();
    }
    ~ProgressBox() {
        if (box_) DestroyWindow(box_);
    }
    ProgressBox(const ProgressBox&) = delete;
    ProgressBox& operator=(const ProgressBox&) = delete;

    void show(std::size_t done) {
        if (bar_) SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(done), 0);
        showPainted();
    }

private:
    // Only painting is let through: input waits, as the owner is disabled.
    static void showPainted() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) DispatchMessageW(&message);
    }

    HWND box_ = nullptr;
    HWND bar_ = nullptr;
};

}  // namespace

void loadSetupBox(HWND owner, HWND box, const std::wstring& text) {
    if (text.size() <= ui::kSetupLoadPiece) {
        SetWindowTextW(box, text.c_str());
        return;
    }
    const bool wasEnabled = IsWindowEnabled(owner);
    EnableWindow(owner, FALSE);
    {
        ProgressBox progress(owner, (text.size() + ui::kSetupLoadPiece - 1) / ui::kSetupLoadPiece);
        SetWindowTextW(box, L"");
        std::size_t done = 0;
        for (std::size_t at = 0; at < text.size(); ++done) {
            const std::size_t end = pieceEnd(text, at);
            const std::wstring piece = text.substr(at, end - at);
            const auto length = static_cast<WPARAM>(at);
            SendMessageW(box, EM_SETSEL, length, static_cast<LPARAM>(length));
            SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
            at = end;
            progress.show(done + 1);
        }
        // The owner is enabled before the box goes, so the activation returns to it.
        if (wasEnabled) EnableWindow(owner, TRUE);
    }
    SendMessageW(box, EM_SETSEL, 0, 0);
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

}  // namespace inkrun::win32
