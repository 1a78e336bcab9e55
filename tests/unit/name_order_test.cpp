// The drawing list's order is the one a sorted Windows list box shows: measured live under Wine
// on Windows, and against the list box's recorded order (unit/name_order/) elsewhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "drawings/drawing_list.h"
#include "model/plain_window_state.h"
#include "platform/ansi_codec.h"
#include "platform/name_order.h"
#include "script/build_command.h"
#include "script/script_builder.h"
#include "support/expected_script.h"
#include "support/scripted_dialogs.h"
#include "support/sorted_list_box.h"
#include "support/temp_dir.h"
#ifdef _WIN32
#include "platform/wide_text.h"
#include "platform/windows_api.h"
#endif

namespace inkrun::drawings {
namespace {

using Names = std::vector<std::string>;

// A list box puts a name before an equal one it holds, so a pair of equal names stands in the
// reverse of the order it was filled in. Where three or more are equal, its binary search lands on
// any of them, and where the later ones go depends on the other names: such runs count as sets.
void sortRunsOfThreeEqualNames(Names& order, const std::vector<bool>& equalToPrevious) {
    for (std::size_t start = 0; start < order.size();) {
        std::size_t end = start + 1;
        while (end < order.size() && equalToPrevious[end]) ++end;
        if (end - start > 2)
            std::sort(order.begin() + static_cast<long>(start), order.begin() + static_cast<long>(end));
        start = end;
    }
}

// Says where two orders part, with the entries that follow, rather than printing 800 names.
void expectSameOrder(const Names& ours, const Names& expected) {
    ASSERT_EQ(ours.size(), expected.size());
    const auto parted = std::mismatch(ours.begin(), ours.end(), expected.begin());
    if (parted.first == ours.end()) return;
    const auto at = static_cast<std::size_t>(parted.first - ours.begin());
    std::string both;
    for (std::size_t i = at; i < std::min(at + 6, ours.size()); ++i)
        both += "\n  " + std::to_string(i) + ": ours \"" + platform::escapeControls(ours[i]) + "\", expected \"" +
                platform::escapeControls(expected[i]) + "\"";
    ADD_FAILURE() << "the orders part at entry " << at << ":" << both;
}

// `ours` against what a list box showed, runs of three equal names and more as sets.
void expectTheListBoxOrder(Names ours, Names shown, const std::vector<bool>& equalToPrevious) {
    sortRunsOfThreeEqualNames(ours, equalToPrevious);
    sortRunsOfThreeEqualNames(shown, equalToPrevious);
    expectSameOrder(ours, shown);
}

// Drawing numbers as people write them, and accented names: Build writes them in the list's
// order with "asc" and in its reverse with "dsc".
TEST(DrawingListOrder, BuildWritesTheListBoxOrderAscendingAndItsReverseDescending) {
    const Names listBoxOrder = {"A 101.dwg",
                                "A_101.dwg",
                                "A101.dwg",
                                "A-101.dwg",
                                "A-102.dwg",
                                "Ecke.dwg",
                                "\u00C9l\u00E9vation.dwg",
                                "Elevation-2.dwg",
                                "Ubersicht 2.dwg",
                                "\u00DCbersicht.dwg",
                                "Zeichnung.dwg"};
    test::TempDir dir;
    const std::string jobs = dir.mkdir("jobs");
    for (auto name = listBoxOrder.rbegin(); name != listBoxOrder.rend(); ++name) dir.write("jobs/" + *name, "");
    ProgramSettings settings;
    settings.scriptSettingsDirectory = dir.path();
    PlainWindowState state;
    state.setDrawingDirectory(jobs);
    drawings::setDrawingListPath(state, jobs);
    state.setSetupText("zoom\r\nextents");
    state.selectAll();
    test::ScriptedDialogs dialogs;

    for (const bool descending : {false, true}) {
        state.setDescendingOrder(descending);
        script::buildInkrunScript(state, dialogs, settings);
        std::vector<std::string> opened = listBoxOrder;
        if (descending) std::reverse(opened.begin(), opened.end());
        EXPECT_EQ(dir.read("jobs/Inkrun.scr"),
                  platform::encodeAnsi(test::expectedScript(jobs, opened, "zoom\r\nextents")))
            << (descending ? "dsc" : "asc");
    }
}

#ifndef _WIN32

struct RecordedOrder {
    Names names;
    std::vector<bool> equalToPrevious;
};

std::string utf8Of(unsigned codePoint) {
    if (codePoint < 0x80) return std::string(1, static_cast<char>(codePoint));
    return {static_cast<char>(0xC0 | (codePoint >> 6)), static_cast<char>(0x80 | (codePoint & 0x3F))};
}

// The order the order probe found a sorted list box in en-US to show, under Wine, when it was
// given the probe's names in the order an NTFS folder lists them.
RecordedOrder recordedListBoxOrder() {
    std::ifstream file(INKRUN_LIST_BOX_ORDER, std::ios::binary);
    RecordedOrder recorded;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::string name;
        for (std::size_t i = 2; i < line.size(); ++i) {
            if (line.compare(i, 2, "\\u") == 0) {
                name += utf8Of(static_cast<unsigned>(std::stoul(line.substr(i + 2, 4), nullptr, 16)));
                i += 5;
            } else {
                name += line[i];
            }
        }
        recorded.names.push_back(name);
        recorded.equalToPrevious.push_back(line[0] == '=');
    }
    return recorded;
}

// Equal names too: "\u00E6ble.dwg" before "aeble.dwg", "a.dwg" before "A.dwg".
TEST(DrawingListOrder, IsTheOrderASortedListBoxFilledFromAnNtfsFolderShowedUnderWine) {
    const RecordedOrder recorded = recordedListBoxOrder();
    ASSERT_GT(recorded.names.size(), 700u) << INKRUN_LIST_BOX_ORDER;
    Names names = recorded.names;
    std::reverse(names.begin(), names.end());
    sortDrawingNames(names);
    expectTheListBoxOrder(names, recorded.names, recorded.equalToPrevious);
}

TEST(DrawingListOrder, CharactersOutsideTheCodePageFollowItAndBytesThatAreNotUtf8FollowThose) {
    Names names = {"\xE9t\xE9.dwg", "\u03C9.dwg", "z.dwg", "\u03A9.dwg", "\u017D.dwg", "\u00E9t\u00E9.dwg"};
    sortDrawingNames(names);
    EXPECT_EQ(names, (Names{"\u00E9t\u00E9.dwg", "z.dwg", "\u017D.dwg", "\u03A9.dwg", "\u03C9.dwg", "\xE9t\xE9.dwg"}));
}

#else

Names utf8Names(const std::vector<std::wstring>& names) {
    Names utf8;
    for (const std::wstring& name : names) utf8.push_back(platform::narrow(name));
    return utf8;
}

// A list box in `locale` filled with `names` in the order given, against `sort`.
void expectTheOrderOfAListBox(const std::vector<std::wstring>& names, const wchar_t* locale,
                              const std::function<void(Names&)>& sort) {
    const std::vector<std::wstring> shown = test::sortedListBoxOrder(names, locale);
    std::vector<bool> equalToPrevious(shown.size(), false);
    for (std::size_t i = 1; i < shown.size(); ++i)
        equalToPrevious[i] = test::listBoxFindsEqual(shown[i - 1], shown[i], locale);
    Names ours = utf8Names(names);
    sort(ours);
    expectTheListBoxOrder(ours, utf8Names(shown), equalToPrevious);
}

std::wstring userLocale() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    return name;
}

TEST(DrawingListOrder, IsTheOrderOfARealSortedListBoxFilledFromAnNtfsFolder) {
    expectTheOrderOfAListBox(test::orderProbeNames(), userLocale().c_str(),
                             [](Names& names) { sortDrawingNames(names); });
}

// Each locale's table, where runs of letters weigh as one ("ch", "aa", "dzs") too: names of two
// letters and more, among the probe's.
TEST(NameOrderTable, OrdersAsARealSortedListBoxInItsLocale) {
    std::vector<std::wstring> names = test::orderProbeNames();
    const std::wstring letters = L"aAbBcCdDeEfFgGhHiIjJkKlLmMnNoOpPqQrRsStTuUvVwWxXyYzZ";
    for (wchar_t first : letters)
        for (wchar_t second : letters) {
            names.push_back(std::wstring{L'b', first, second} + L".dwg");
            names.push_back(std::wstring{L'b', first, second, L's'} + L".dwg");
        }
    names = test::inNtfsOrder(names);
    for (const platform::NameOrderTable* table : platform::NameOrderTable::all()) {
        const std::wstring locale = platform::widen(table->measuredIn());
        SCOPED_TRACE(std::string(table->measuredIn()));
        expectTheOrderOfAListBox(names, locale.c_str(), [&](Names& ours) { sortDrawingNames(ours, *table); });
    }
}

// Every pair of Windows-1252 characters, alone and around a letter: where two characters meet,
// a ligature stands beside its letters, or a hyphen's place is counted, the two orders show it.
std::vector<std::wstring> characterPairs() {
    const std::wstring characters = test::codePageCharacters();
    std::vector<std::wstring> pairs;
    for (wchar_t first : characters)
        for (wchar_t second : characters) {
            pairs.push_back({first, second});
            pairs.push_back({first, L'o', second});
        }
    return pairs;
}

// Sorted by `key`, each name must stand to the next as CompareStringEx in `locale` has it:
// equal where the keys are equal, before where they are not. As the system's comparison is an
// order, the whole order is then the system's.
void expectTheOrderOfCompareString(const wchar_t* locale, const std::function<std::string(std::string_view)>& key) {
    std::vector<std::pair<std::string, std::wstring> > keyed;
    for (const std::wstring& name : characterPairs()) keyed.emplace_back(key(platform::narrow(name)), name);
    std::sort(keyed.begin(), keyed.end());
    int differences = 0;
    for (std::size_t i = 1; i < keyed.size() && differences < 10; ++i) {
        const std::wstring& a = keyed[i - 1].second;
        const std::wstring& b = keyed[i].second;
        const int system = CompareStringEx(locale, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                                           static_cast<int>(b.size()), nullptr, nullptr, 0);
        const int ours = keyed[i - 1].first == keyed[i].first ? CSTR_EQUAL : CSTR_LESS_THAN;
        if (system == ours) continue;
        ++differences;
        ADD_FAILURE() << "\"" << platform::escapeControls(platform::narrow(a)) << "\" and \""
                      << platform::escapeControls(platform::narrow(b)) << "\": the system says " << system
                      << ", the keys " << ours << " (1 before, 2 equal, 3 after)";
    }
}

TEST(NameOrderTable, OrdersEveryPairOfCodePageCharactersAsWindowsDoesInItsLocale) {
    for (const platform::NameOrderTable* table : platform::NameOrderTable::all()) {
        SCOPED_TRACE(std::string(table->measuredIn()));
        expectTheOrderOfCompareString(platform::widen(table->measuredIn()).c_str(),
                                      [&](std::string_view name) { return table->key(name); });
    }
}

TEST(SystemNameOrder, SortKeysOrderAsTheComparisonDoes) {
    expectTheOrderOfCompareString(LOCALE_NAME_USER_DEFAULT, platform::nameOrderKey);
}

TEST(NtfsListingOrder, TheTableUpperCasesTheCodePageAsTheSystemDoes) {
    const std::wstring characters = test::codePageCharacters();
    int differences = 0;
    for (wchar_t first : characters)
        for (wchar_t second : characters) {
            const std::string a = platform::narrow(std::wstring{L'x', first}),
                              b = platform::narrow(std::wstring{L'x', second});
            if (platform::tableNtfsListsBefore(a, b) == platform::ntfsListsBefore(a, b) || ++differences > 10) continue;
            ADD_FAILURE() << "\"" << a << "\" and \"" << b << "\": the system lists "
                          << (platform::ntfsListsBefore(a, b) ? "the first" : "the second") << " first";
        }
}

#endif

}  // namespace
}  // namespace inkrun::drawings
