#pragma once

// A real sorted Windows list box, the reference for the drawing list's order. Windows only; the
// order probe (unit/name_order/) uses it alone, without the core.

#ifdef _WIN32

#include <string>
#include <vector>

namespace inkrun::test {

// The characters of Windows-1252 but NUL, in the code page's order.
std::wstring codePageCharacters();

// Names that exercise the order: every character of Windows-1252 but NUL at the start, in the
// middle and at the end of a name, names that Windows orders by its word sort (hyphens,
// apostrophes) or by a ligature's letters, and pairs of names its comparison finds equal. No
// name twice; in the order an NTFS folder holding them would list them (inNtfsOrder).
std::vector<std::wstring> orderProbeNames();

// `names` as an NTFS folder lists them: by the system's upper-case table, one UTF-16 unit at a
// time; names alike even there (a folder that tells case apart holds them) by their units.
std::vector<std::wstring> inNtfsOrder(std::vector<std::wstring> names);

// The entries of a list box with LBS_SORT in `locale` after `names` were added to it one by one,
// in their order, as Windows fills a list from a folder's listing.
std::vector<std::wstring> sortedListBoxOrder(const std::vector<std::wstring>& names, const wchar_t* locale);

// Whether the comparison a sorted list box uses (CompareString without regard to case) finds two
// names equal in `locale`. A list box puts a name before an equal one it holds.
bool listBoxFindsEqual(const std::wstring& a, const std::wstring& b, const wchar_t* locale);

}  // namespace inkrun::test

#endif
