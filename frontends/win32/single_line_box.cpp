#include "frontends/win32/single_line_box.h"

#include <commctrl.h>

#include <string>

#include "model/keyboard_rules.h"
#include "platform/wide_text.h"

namespace inkrun::win32 {

namespace {

std::wstring clipboardText(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

LRESULT CALLBACK singleLineProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_PASTE: {
        if (GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY) return 0;
        const std::string line = ui::singleLine(platform::narrow(clipboardText(edit)));
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(platform::widen(line).c_str()));
        return 0;
    }
    case WM_NCDESTROY: RemoveWindowSubclass(edit, &singleLineProcedure, 0); break;
    default: break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace

void makeSingleLineBox(HWND edit) { SetWindowSubclass(edit, &singleLineProcedure, 0, 0); }

}  // namespace inkrun::win32
