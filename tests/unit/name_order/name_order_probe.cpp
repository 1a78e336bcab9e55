// The order probe: measures how Windows (or Wine) orders names and writes down what it found, in
// the folder OUT:
//   name_order_en_us.inc   the sort key that LCMapStringEx (LCMAP_SORTKEY | NORM_IGNORECASE) gives
//                          each character of Windows-1252 alone in en-US: the rows of the table
//                          from which platform/name_order_table.cpp orders names where there is no
//                          Windows to ask
//   name_order_LOCALE.inc  for each other order of those names: the rows that differ from en-US,
//                          and the runs of characters the locale weighs as one ("ch" in cs-CZ)
//   name_order_locales.inc which locale orders by which table: every locale the system knows that
//                          writes in Latin letters or in Windows-1252
//   list_box_order.txt     the order in which a real sorted list box in en-US shows the probe's
//                          names when they are added in the order an NTFS folder lists them, which
//                          the unit tests compare the order of the core with
// scripts/generate-name-order.sh builds it and runs it under Wine.
//   name_order_probe OUT
#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/windows_api.h"
#include "support/sorted_list_box.h"

namespace {

using inkrun::test::codePageCharacters;

constexpr std::size_t kLongestKey = 16;  // the table's row width
constexpr std::size_t kLongestRun = 4;   // characters weighed as one: Hungarian "ddzs"
constexpr std::size_t kMostRuns = 48;    // runs a table holds
constexpr const wchar_t* kBase = L"en-US";

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

std::string sortKey(const std::wstring& locale, const std::wstring& text) {
    BYTE key[256];
    const int length = LCMapStringEx(locale.c_str(), LCMAP_SORTKEY | NORM_IGNORECASE, text.data(),
                                     static_cast<int>(text.size()), reinterpret_cast<LPWSTR>(key), sizeof key, nullptr,
                                     nullptr, 0);
    return std::string(reinterpret_cast<const char*>(key), static_cast<std::size_t>(std::max(length, 0)));
}

// A key taken apart: primary weights, 01, diacritic weights, 01, case weights, 01, (kana
// weights), 01, special weights, 00.
struct Levels {
    std::string primary, diacritics, cases, special;
};

Levels levelsOf(const std::string& key) {
    Levels levels;
    std::string* level[] = {&levels.primary, &levels.diacritics, &levels.cases, nullptr, &levels.special};
    std::size_t at = 0;
    for (std::string* into : level) {
        const std::size_t end = into == &levels.special ? key.size() - 1 : key.find('\x01', at);
        if (into) *into = key.substr(at, end - at);
        at = end + 1;
    }
    return levels;
}

// One row of a table: a character, or a run of characters weighed as one, and its sort key.
struct Row {
    std::wstring run;
    std::string key;
};

// How a locale weighs the characters of the code page: each alone, the runs it weighs as one,
// and whether it reads diacritics from the end of a name (French).
struct Weighing {
    std::wstring order;  // the characters in the code page's order
    std::map<wchar_t, std::string> characters;
    std::map<std::wstring, std::string> runs;
    bool reversedDiacritics = false;

    // The key of `text` made from the rows, each run taken where it starts, the longest first:
    // each level the units' in turn (diacritics reversed where the locale reverses them), a
    // special weight at its place among the primary ones, plain diacritic and case weights (2)
    // dropped from the end. Where the system gives another key, `text` holds a run not known yet.
    std::string composedKey(const std::wstring& text) const {
        std::string primary, diacritics, cases, special;
        for (std::size_t at = 0; at < text.size();) {
            std::size_t length = std::min(kLongestRun, text.size() - at);
            for (; length > 1; --length)
                if (runs.count(text.substr(at, length))) break;
            const Levels unit = levelsOf(length > 1 ? runs.at(text.substr(at, length)) : characters.at(text[at]));
            at += length;
            if (unit.special.size() == 4) {
                const auto position = static_cast<unsigned short>(-static_cast<int>(primary.size() / 2) - 1);
                special += {static_cast<char>(position >> 8), static_cast<char>(position & 0xFF), unit.special[2],
                            unit.special[3]};
                continue;
            }
            for (std::size_t weight = 0; weight < unit.primary.size() / 2; ++weight) {
                diacritics += weight < unit.diacritics.size() ? unit.diacritics[weight] : '\x02';
                cases += weight < unit.cases.size() ? unit.cases[weight] : '\x02';
            }
            primary += unit.primary;
        }
        if (reversedDiacritics) std::reverse(diacritics.begin(), diacritics.end());
        for (std::string* level : {&diacritics, &cases})
            while (!level->empty() && level->back() == '\x02') level->pop_back();
        return primary + '\x01' + diacritics + '\x01' + cases + "\x01\x01" + special + '\0';
    }
};

std::vector<std::wstring> pairs(const std::wstring& characters) {
    std::vector<std::wstring> names;
    for (wchar_t first : characters)
        for (wchar_t second : characters) names.push_back({first, second});
    return names;
}

// How `locale` weighs, or nothing when keys made character by character and run by run do not
// give the system's (a mark that changes the letter before it, say): every pair of characters,
// alone and around a letter, and each run beside each character, are checked.
std::optional<Weighing> measure(const std::wstring& locale, const std::wstring& characters) {
    Weighing weighing;
    weighing.order = characters;
    for (wchar_t c : characters) weighing.characters[c] = sortKey(locale, std::wstring(1, c));
    std::vector<std::pair<std::wstring, std::string>> keyed;
    for (const std::wstring& pair : pairs(characters)) keyed.emplace_back(pair, sortKey(locale, pair));
    const auto unexplained = [&] {
        std::size_t count = 0;
        for (const auto& [pair, key] : keyed) count += key != weighing.composedKey(pair);
        return count;
    };
    const std::size_t forwards = unexplained();
    weighing.reversedDiacritics = true;
    weighing.reversedDiacritics = unexplained() < forwards;

    // Runs of two weighed as one, then longer runs that grow from them ("cs", then "ccs").
    std::vector<std::wstring> found;
    const auto tryRun = [&](const std::wstring& run, const std::string& key) {
        if (weighing.runs.count(run) || key == weighing.composedKey(run)) return true;
        weighing.runs[run] = key;
        found.push_back(run);
        return found.size() <= kMostRuns;
    };
    for (const auto& [pair, key] : keyed)
        if (!tryRun(pair, key)) return std::nullopt;
    for (std::size_t next = 0; next < found.size(); ++next) {
        const std::wstring run = found[next];
        if (run.size() == kLongestRun) continue;
        for (wchar_t c : characters)
            if (!tryRun(run + c, sortKey(locale, run + c)) || !tryRun(c + run, sortKey(locale, c + run)))
                return std::nullopt;
    }

    std::vector<std::wstring> names;
    for (wchar_t first : characters)
        for (wchar_t second : characters) names.push_back({first, L'o', second});
    for (const auto& [run, key] : weighing.runs) {
        names.push_back(run + run);
        for (wchar_t c : characters) names.push_back(c + run + c);
    }
    for (const std::wstring& name : names)
        if (sortKey(locale, name) != weighing.composedKey(name)) return std::nullopt;
    return weighing;
}

// The rows of `weighing` that the base's rows do not give: every row when `base` is null.
std::vector<Row> rowsBeyond(const Weighing& weighing, const Weighing* base) {
    std::vector<Row> rows;
    for (wchar_t c : weighing.order) {
        const std::string& key = weighing.characters.at(c);
        if (!base || base->characters.at(c) != key) rows.push_back({std::wstring(1, c), key});
    }
    for (const auto& [run, key] : weighing.runs)
        if (!base || !base->runs.count(run) || base->runs.at(run) != key) rows.push_back({run, key});
    return rows;
}

// Whether `locale` orders names of the code page as the base locale does: sorted by the base's
// keys, each name stands to the next in the locale as in the base. The names: each character,
// each pair, and each run the locale weighs as one, alone and beside each character.
bool ordersAsBase(const std::wstring& locale, const Weighing& weighing, const std::wstring& characters) {
    std::vector<std::wstring> names = pairs(characters);
    for (wchar_t c : characters) names.push_back(std::wstring(1, c));
    for (const auto& [run, key] : weighing.runs) {
        names.push_back(run);
        for (wchar_t c : characters) {
            names.push_back(run + c);
            names.push_back(c + run);
        }
    }
    std::vector<std::pair<std::string, std::string>> keys;  // the base's key, the locale's
    for (const std::wstring& name : names) keys.emplace_back(sortKey(kBase, name), sortKey(locale, name));
    std::sort(keys.begin(), keys.end());
    for (std::size_t i = 1; i < keys.size(); ++i) {
        const bool equalInBase = keys[i - 1].first == keys[i].first;
        const int inLocale = keys[i - 1].second.compare(keys[i].second);
        if (equalInBase ? inLocale != 0 : inLocale >= 0) return false;
    }
    return true;
}

std::string whereMeasured() {
    using WineVersion = const char*(__cdecl*)();
    const auto wineVersion = reinterpret_cast<WineVersion>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
    return wineVersion ? std::string("Wine ") + wineVersion() : "Windows";
}

std::string hexList(const std::wstring& run) {
    std::string out;
    for (wchar_t c : run) {
        char code[12];
        std::snprintf(code, sizeof code, "%s0x%04X", out.empty() ? "" : ", ", static_cast<unsigned>(c));
        out += code;
    }
    return out;
}

// The run as text, when every character of it shows.
std::string shown(const std::wstring& run) {
    for (wchar_t c : run)
        if (isControl(c) || c == L'\\' || c == L' ' || c == 0xA0 || c == 0xAD) return {};
    return utf8(run);
}

bool writeRows(FILE* out, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        if (row.key.empty() || row.key.size() > kLongestKey || row.run.size() > kLongestRun) {
            std::fprintf(stderr, "the sort key of %s does not fit the table (%zu bytes)\n", hexList(row.run).c_str(),
                         row.key.size());
            return false;
        }
        std::fprintf(out, "{{%s}, {", hexList(row.run).c_str());
        for (std::size_t i = 0; i < row.key.size(); ++i)
            std::fprintf(out, "%s0x%02X", i ? ", " : "", static_cast<unsigned char>(row.key[i]));
        std::string codes;
        for (wchar_t c : row.run) {
            char code[10];
            std::snprintf(code, sizeof code, " U+%04X", static_cast<unsigned>(c));
            codes += code;
        }
        const std::string text = shown(row.run);
        std::fprintf(out, "}},  //%s%s%s\n", codes.c_str(), text.empty() ? "" : " ", text.c_str());
    }
    return true;
}

// The locales the system knows whose names are in Latin letters or in Windows-1252.
std::vector<std::wstring> latinLocales() {
    std::vector<std::wstring> all;
    EnumSystemLocalesEx(
        [](LPWSTR name, DWORD, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(name);
            return TRUE;
        },
        LOCALE_ALL, reinterpret_cast<LPARAM>(&all), nullptr);
    std::vector<std::wstring> latin;
    for (const std::wstring& name : all) {
        wchar_t codePage[16] = {}, scripts[64] = {};
        GetLocaleInfoEx(name.c_str(), LOCALE_IDEFAULTANSICODEPAGE, codePage, 16);
        GetLocaleInfoEx(name.c_str(), LOCALE_SSCRIPTS, scripts, 64);
        if (!name.empty() && (std::wstring(codePage) == L"1252" || std::wstring(scripts).rfind(L"Latn;", 0) == 0))
            latin.push_back(name);
    }
    std::sort(latin.begin(), latin.end());
    latin.erase(std::unique(latin.begin(), latin.end()), latin.end());
    return latin;
}

// The locale a table is named after: the one the first locale of the group stands for (da:
// da-DK), else the first with a region.
std::wstring tableLocale(const std::vector<std::wstring>& group) {
    for (const std::wstring& name : group) {
        wchar_t resolved[LOCALE_NAME_MAX_LENGTH] = {};
        if (ResolveLocaleName(name.c_str(), resolved, LOCALE_NAME_MAX_LENGTH) &&
            std::find(group.begin(), group.end(), resolved) != group.end())
            return resolved;
    }
    for (const std::wstring& name : group)
        if (name.find(L'-') != std::wstring::npos) return name;
    return group.front();
}

std::string fileStem(const std::wstring& locale) {
    std::string stem = "name_order_";
    for (wchar_t c : locale) stem += c == L'-' ? '_' : static_cast<char>(std::tolower(static_cast<int>(c)));
    return stem;
}

std::string arrayName(const std::wstring& locale) {
    std::string name = "kOrder";
    bool upper = true;
    for (wchar_t c : locale) {
        if (c == L'-' || c == L'_') {
            upper = true;
            continue;
        }
        name += static_cast<char>(upper ? std::toupper(static_cast<int>(c)) : std::tolower(static_cast<int>(c)));
        upper = false;
    }
    return name;
}

// `names` as string literals of at most about 100 columns, one after the other.
std::string nameList(const std::vector<std::wstring>& names) {
    std::string list, line;
    for (const std::wstring& name : names) {
        if (line.size() + name.size() > 90) {
            list += "     \"" + line + "\"\n";
            line.clear();
        }
        line += utf8(name) + " ";
    }
    return list + "     \"" + line + "\"";
}

FILE* openIn(const std::string& folder, const std::string& name) {
    FILE* file = std::fopen((folder + "\\" + name).c_str(), "wb");
    if (!file) std::fprintf(stderr, "cannot write %s\\%s\n", folder.c_str(), name.c_str());
    return file;
}

bool writeTables(const std::string& folder, const std::string& where) {
    const std::wstring characters = codePageCharacters();
    const std::optional<Weighing> base = measure(kBase, characters);
    if (!base || base->reversedDiacritics) {
        std::fprintf(stderr, "en-US weighs otherwise than character by character\n");
        return false;
    }
    const char* header =
        "// Measured by scripts/generate-name-order.sh under %s: the sort key that LCMapStringEx\n"
        "// (LCMAP_SORTKEY | NORM_IGNORECASE, %s) gives %s.\n"
        "// Generated: measure again rather than edit.\n";
    FILE* enUs = openIn(folder, "name_order_en_us.inc");
    if (!enUs) return false;
    std::fprintf(enUs, header, where.c_str(), "en-US", "each character of Windows-1252 alone");
    if (!writeRows(enUs, rowsBeyond(*base, nullptr)) || std::fclose(enUs) != 0) return false;

    // The locales grouped by how they differ from en-US, those that order as en-US in the first group.
    struct Group {
        std::vector<std::wstring> locales;
        std::vector<Row> rows;
        bool reversedDiacritics = false;
    };
    std::map<std::string, Group> groups;
    std::vector<std::wstring> sameOrderOtherKeys, notByTable;
    for (const std::wstring& locale : latinLocales()) {
        const std::optional<Weighing> weighing = measure(locale, characters);
        if (!weighing) {
            notByTable.push_back(locale);
            continue;
        }
        std::vector<Row> rows = rowsBeyond(*weighing, &*base);
        bool reversed = weighing->reversedDiacritics;
        if ((!rows.empty() || reversed) && ordersAsBase(locale, *weighing, characters)) {
            sameOrderOtherKeys.push_back(locale);
            rows.clear();
            reversed = false;
        }
        std::string id = reversed ? "reversed diacritics\n" : "";
        for (const Row& row : rows) id += utf8(row.run) + '\0' + row.key + '\0';
        Group& group = groups[id];
        group.locales.push_back(locale);
        group.rows = std::move(rows);
        group.reversedDiacritics = reversed;
    }

    FILE* registry = openIn(folder, "name_order_locales.inc");
    if (!registry) return false;
    std::fprintf(registry,
                 "// Measured by scripts/generate-name-order.sh under %s: each locale that writes in Latin\n"
                 "// letters or in Windows-1252, by the order it gives names of Windows-1252. en-US is the\n"
                 "// base; every other order is how it differs from en-US: characters of other weights, runs\n"
                 "// of characters weighed as one, and diacritics read from the end of a name.\n"
                 "// Generated: measure again rather than edit.\n",
                 where.c_str());
    const auto listLocales = [&](const char* what, const std::vector<std::wstring>& locales) {
        if (locales.empty()) return;
        std::fprintf(registry, "// %s:", what);
        for (const std::wstring& locale : locales) std::fprintf(registry, " %s", utf8(locale).c_str());
        std::fprintf(registry, "\n");
    };
    listLocales("Other keys, yet the order of en-US", sameOrderOtherKeys);
    listLocales("Weighed otherwise than character by character, so left to Windows", notByTable);
    std::map<std::wstring, std::string> byTable;  // the tables in the order of their names
    for (const auto& [id, group] : groups) byTable[id.empty() ? std::wstring(kBase) : tableLocale(group.locales)] = id;
    std::string entries;
    for (const auto& [table, id] : byTable) {
        const Group& group = groups[id];
        std::string rowsName = "{}";
        if (!group.rows.empty()) {
            FILE* file = openIn(folder, fileStem(table) + ".inc");
            if (!file) return false;
            std::fprintf(file, header, where.c_str(), utf8(table).c_str(),
                         "each character of Windows-1252\n// that it weighs otherwise than en-US, and each run of them "
                         "that it weighs as one");
            if (!writeRows(file, group.rows) || std::fclose(file) != 0) return false;
            rowsName = arrayName(table);
        }
        if (!id.empty()) {
            std::string differs = group.reversedDiacritics ? " diacritics from the end" : "";
            for (const Row& row : group.rows) {
                const std::string text = shown(row.run);
                differs += ' ';
                differs += text.empty() ? hexList(row.run) : text;
            }
            std::fprintf(registry, "\n// %s:%s\n", utf8(table).c_str(), differs.c_str());
        }
        if (!group.rows.empty())
            std::fprintf(registry, "constexpr MeasuredKey %s[] = {\n#include \"platform/%s.inc\"\n};\n",
                         rowsName.c_str(), fileStem(table).c_str());
        entries += "    {\"" + utf8(table) + "\", " + rowsName + ", " + (group.reversedDiacritics ? "true" : "false") +
                   ",\n" + nameList(group.locales) + "},\n";
        std::fprintf(stdout, "%s: %zu locales\n", utf8(table).c_str(), group.locales.size());
    }
    std::fprintf(registry, "\nconstexpr LocaleOrder kLocaleOrders[] = {\n%s};\n", entries.c_str());
    return std::fclose(registry) == 0;
}

bool writeOrder(const std::string& folder, const std::string& where) {
    const std::vector<std::wstring> order = inkrun::test::sortedListBoxOrder(inkrun::test::orderProbeNames(), kBase);
    FILE* out = openIn(folder, "list_box_order.txt");
    if (!out) return false;
    std::fprintf(out,
                 "# The order in which a sorted list box (LBS_SORT) in en-US shows the order probe's names,\n"
                 "# added in the order an NTFS folder lists them, measured by scripts/generate-name-order.sh\n"
                 "# under %s.\n"
                 "# One name a line, UTF-8, control characters and the backslash as \\uXXXX; before it a\n"
                 "# tab and \"<\" when it follows the name above, \"=\" when the list box's comparison finds\n"
                 "# the two equal (the list box put the name added later before the one it held).\n",
                 where.c_str());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const bool equal = i > 0 && inkrun::test::listBoxFindsEqual(order[i - 1], order[i], kBase);
        std::fprintf(out, "%s\t%s\n", equal ? "=" : "<", escaped(order[i]).c_str());
    }
    return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: name_order_probe OUT\n");
        return 2;
    }
    const std::string where = whereMeasured();
    return writeTables(argv[1], where) && writeOrder(argv[1], where) ? 0 : 1;
}
