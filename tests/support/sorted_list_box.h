#pragma once

// A real sorted Windows list box, the reference for the drawing list's order. Windows only; the
// order probe (unit/name_order/) uses it alone, without the core.

#ifdef _WIN32

#include <string>
#include <vector>

namespace inkrun::test {

// Names that exercise the order: every character of Windows-1252 but NUL at the start, in the
// middle and at the end of a name, and names that Windows orders by its word sort (hyphens,
// apostrophes) or by a ligature's letters. No name twice; in the order made, which is no order.
std::vector<std::wstring> orderProbeNames();

// The entries of a list box with LBS_SORT after `names` were added to it one by one.
std::vector<std::wstring> sortedListBoxOrder(const std::vector<std::wstring>& names);

// Whether the comparison a sorted list box uses (CompareString in the user's locale, without
// regard to case) finds two names equal. A list box keeps such names in no particular order.
bool listBoxFindsEqual(const std::wstring& a, const std::wstring& b);

}  // namespace inkrun::test

#endif
