// The order probe: measures how Windows (or Wine) orders names and writes down what it found.
//   1. TABLE: the sort key that LCMapStringEx (LCMAP_SORTKEY | NORM_IGNORECASE, locale en-US)
//      gives each character of Windows-1252 alone, as the rows of the table from which
//      platform/name_order_table.cpp orders names where there is no Windows to ask.
//   2. ORDER: the order in which a real sorted list box (LBS_SORT) shows the probe's names, which
//      the unit tests compare the order of the core with.
// scripts/generate-name-order.sh builds it and runs it under Wine.
//   name_order_probe TABLE ORDER
#include <cstdio>
#include <string>
#include <vector>

#include "platform/windows_api.h"
#include "support/sorted_list_box.h"

namespace {

constexpr std::size_t kLongestKey = 16;  // the table's row width

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::string out(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

bool isControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// Control characters and the backslash as \uXXXX, so that every name stays on its line.
std::string escaped(const std::wstring& name) {
    std::string out;
    for (wchar_t c : name) {
        if (isControl(c) || c == L'\\') {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
            out += code;
        } else {
            out += utf8(std::wstring(1, c));
        }
    }
    return out;
}

std::string whereMeasured() {
    using WineVersion = const char*(__cdecl*)();
    const auto wineVersion = reinterpret_cast<WineVersion>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
    return wineVersion ? std::string("Wine ") + wineVersion() : "Windows";
}

bool writeTable(FILE* out, const std::string& where) {
    std::fprintf(out,
                 "// Measured by scripts/generate-name-order.sh under %s: the sort key that LCMapStringEx\n"
                 "// (LCMAP_SORTKEY | NORM_IGNORECASE, en-US) gives each character of Windows-1252 alone.\n"
                 "// Generated: measure again rather than edit.\n",
                 where.c_str());
    for (int byte = 1; byte < 0x100; ++byte) {
        const char narrow = static_cast<char>(byte);
        wchar_t c = 0;
        MultiByteToWideChar(1252, 0, &narrow, 1, &c, 1);
        BYTE key[64];
        const int length = LCMapStringEx(L"en-US", LCMAP_SORTKEY | NORM_IGNORECASE, &c, 1,
                                         reinterpret_cast<LPWSTR>(key), sizeof key, nullptr, nullptr, 0);
        if (length <= 0 || static_cast<std::size_t>(length) > kLongestKey) {
            std::fprintf(stderr, "the sort key of U+%04X does not fit the table (%d bytes)\n", static_cast<unsigned>(c),
                         length);
            return false;
        }
        std::fprintf(out, "{0x%04X, {", static_cast<unsigned>(c));
        for (int i = 0; i < length; ++i) std::fprintf(out, "%s0x%02X", i ? ", " : "", key[i]);
        const bool shown = !isControl(c) && c != L'\\' && c != L' ' && c != 0xA0 && c != 0xAD;
        std::fprintf(out, "}},  // U+%04X%s%s\n", static_cast<unsigned>(c), shown ? " " : "",
                     shown ? utf8(std::wstring(1, c)).c_str() : "");
    }
    return true;
}

void writeOrder(FILE* out, const std::string& where) {
    const std::vector<std::wstring> order = inkrun::test::sortedListBoxOrder(inkrun::test::orderProbeNames());
    std::fprintf(out,
                 "# The order in which a sorted list box (LBS_SORT) shows the order probe's names, measured\n"
                 "# by scripts/generate-name-order.sh under %s, user locale en-US.\n"
                 "# One name a line, UTF-8, control characters and the backslash as \\uXXXX; before it a\n"
                 "# tab and \"<\" when it follows the name above, \"=\" when the list box's comparison finds\n"
                 "# the two equal (the list box keeps such names in no particular order).\n",
                 where.c_str());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const bool equal = i > 0 && inkrun::test::listBoxFindsEqual(order[i - 1], order[i]);
        std::fprintf(out, "%s\t%s\n", equal ? "=" : "<", escaped(order[i]).c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: name_order_probe TABLE ORDER\n");
        return 2;
    }
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH);
    if (std::wstring(locale) != L"en-US") {
        std::fprintf(stderr, "the user's locale is %s, not en-US\n", utf8(locale).c_str());
        return 1;
    }
    const std::string where = whereMeasured();
    FILE* table = std::fopen(argv[1], "wb");
    FILE* order = std::fopen(argv[2], "wb");
    if (!table || !order) {
        std::fprintf(stderr, "cannot write %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    const bool tableWritten = writeTable(table, where);
    writeOrder(order, where);
    const bool closed = std::fclose(table) == 0 && std::fclose(order) == 0;
    return tableWritten && closed ? 0 : 1;
}
