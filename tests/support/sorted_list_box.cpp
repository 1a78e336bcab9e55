#include "support/sorted_list_box.h"

#ifdef _WIN32

#include <algorithm>
#include <set>
#include <stdexcept>

#include "platform/windows_api.h"

namespace inkrun::test {

std::wstring codePageCharacters() {
    std::wstring characters;
    for (int byte = 1; byte < 0x100; ++byte) {
        const char narrow = static_cast<char>(byte);
        wchar_t c = 0;
        MultiByteToWideChar(1252, 0, &narrow, 1, &c, 1);
        characters += c;
    }
    return characters;
}

std::vector<std::wstring> orderProbeNames() {
    std::set<std::wstring> names;
    for (wchar_t c : codePageCharacters()) {
        names.insert(std::wstring(1, c) + L"ab.dwg");
        names.insert(L"b" + std::wstring(1, c) + L"b.dwg");
        names.insert(L"ba" + std::wstring(1, c) + L".dwg");
    }
    for (const wchar_t* name :
         {// drawing numbers: punctuation before digits, hyphen and apostrophe weighed last
          L"A 4.dwg", L"A(7).dwg", L"A.5.dwg", L"A_3.dwg", L"A~6.dwg", L"A+8.dwg", L"A1.dwg", L"a10.dwg", L"A-2.dwg",
          L"A'5.dwg", L"A9.dwg", L"coop.dwg", L"co-op.dwg", L"co'op.dwg", L"cop.dwg", L"a-b-c.dwg", L"ab-c.dwg",
          L"a-bc.dwg", L"abc.dwg", L"-abc.dwg", L"abc-.dwg", L"a--bc.dwg",
          // ligatures and their letters
          L"ae.dwg", L"\u00E6.dwg", L"\u00C6.dwg", L"ad.dwg", L"af.dwg", L"oe.dwg", L"\u0153.dwg", L"of.dwg", L"ss.dwg",
          L"\u00DF.dwg", L"sr.dwg", L"st.dwg", L"th.dwg", L"\u00FE.dwg", L"ti.dwg",
          // digits, fractions and superscripts
          L"0.dwg", L"1.dwg", L"1-2.dwg", L"\u00BD.dwg", L"2.dwg", L"\u00B2.dwg", L"10.dwg", L"1 2.dwg",
          // pairs the comparison finds equal: by a ligature's letters, in another case, or both; and
          // "ab.dwg", equal to the name with a soft hyphen before it
          L"aeble.dwg", L"\u00E6ble.dwg", L"stra\u00DFe.dwg", L"strasse.dwg", L"Ma\u00DFe.dwg", L"masse.dwg",
          L"\u00FEorn.dwg", L"thorn.dwg", L"oeuvre.dwg", L"\u0153uvre.dwg", L"A-101.dwg", L"a-101.dwg", L"A.dwg",
          L"a.dwg", L"ab.dwg"})
        names.insert(name);
    return inNtfsOrder({names.begin(), names.end()});
}

std::vector<std::wstring> inNtfsOrder(std::vector<std::wstring> names) {
    const auto compare = [](const std::wstring& a, const std::wstring& b, BOOL ignoreCase) {
        return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                    ignoreCase);
    };
    std::sort(names.begin(), names.end(), [&](const std::wstring& a, const std::wstring& b) {
        const int order = compare(a, b, TRUE);
        return order == CSTR_EQUAL ? compare(a, b, FALSE) == CSTR_LESS_THAN : order == CSTR_LESS_THAN;
    });
    return names;
}

std::vector<std::wstring> sortedListBoxOrder(const std::vector<std::wstring>& names, const wchar_t* locale) {
    HWND box = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | LBS_SORT | LBS_HASSTRINGS, 0, 0, 200, 200, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!box) throw std::runtime_error("no list box: error " + std::to_string(GetLastError()));
    // A list box compares in the locale of its LCID, which carries the sort too ("de-DE_phoneb").
    SendMessageW(box, LB_SETLOCALE, LocaleNameToLCID(locale, LOCALE_ALLOW_NEUTRAL_NAMES), 0);
    for (const std::wstring& name : names) SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    const LRESULT count = SendMessageW(box, LB_GETCOUNT, 0, 0);
    std::vector<std::wstring> entries;
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = static_cast<std::size_t>(SendMessageW(box, LB_GETTEXTLEN, i, 0));
        std::wstring entry(length + 1, L'\0');
        SendMessageW(box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
        entry.resize(length);
        entries.push_back(std::move(entry));
    }
    DestroyWindow(box);
    return entries;
}

bool listBoxFindsEqual(const std::wstring& a, const std::wstring& b, const wchar_t* locale) {
    return CompareStringEx(locale, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                           static_cast<int>(b.size()), nullptr, nullptr, 0) == CSTR_EQUAL;
}

}  // namespace inkrun::test

#endif
