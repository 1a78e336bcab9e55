#include "frontends/win32/drawing_list_box.h"

#include <algorithm>

#include "platform/wide_text.h"

namespace inkrun::win32 {

void DrawingListBox::redrawAfter(auto&& change) {
    SendMessageW(listBox_, WM_SETREDRAW, FALSE, 0);
    change();
    SendMessageW(listBox_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox_, nullptr, TRUE);
}

void DrawingListBox::showEntries(const std::vector<std::string>& names) {
    redrawAfter([&] {
        SendMessageW(listBox_, LB_RESETCONTENT, 0, 0);
        SendMessageW(listBox_, LB_INITSTORAGE, names.size(), static_cast<LPARAM>(names.size() * 32 * sizeof(wchar_t)));
        // LBS_SORT is off: the rows keep the model's order, whatever the list box would choose.
        for (const std::string& name : names)
            SendMessageW(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::widen(name).c_str()));
    });
}

std::vector<std::size_t> DrawingListBox::markedRows() const {
    const LRESULT count = SendMessageW(listBox_, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return {};
    std::vector<int> rows(static_cast<std::size_t>(count));
    const LRESULT got = SendMessageW(listBox_, LB_GETSELITEMS, rows.size(), reinterpret_cast<LPARAM>(rows.data()));
    rows.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    std::vector<std::size_t> marked;
    for (const int row : rows)
        if (row >= 0) marked.push_back(static_cast<std::size_t>(row));
    return marked;
}

void DrawingListBox::markRows(const std::vector<std::size_t>& rows, std::size_t current) {
    redrawAfter([&] {
        for (const std::size_t row : rows) SendMessageW(listBox_, LB_SETSEL, TRUE, static_cast<LPARAM>(row));
        SendMessageW(listBox_, LB_SETCARETINDEX, current, FALSE);
    });
}

}  // namespace inkrun::win32
