#pragma once

#include <string>
#include <string_view>

// The order in which a sorted Windows list box shows names: the system's own comparison in the
// user's locale, without regard to case (CompareString with NORM_IGNORECASE). It is not the order
// of code points: accented letters sort beside their base letter, a ligature as its letters
// ("Æ" as "AE"), punctuation before digits and digits before letters, and the hyphen and the
// apostrophe count only when all else is equal ("coop", "co-op", "cop").
//
// Orders are given as sort keys, made once per name: the byte strings of two keys (compared as
// std::string compares them) are in the order of their names. Names whose keys are equal (they
// differ only in letter case, or in characters the comparison ignores) are put in order by
// the caller.

namespace inkrun::platform {

// On Windows the system's sort key (LCMapStringEx, LCMAP_SORTKEY | NORM_IGNORECASE) in the
// user's default locale; elsewhere tableNameOrderKey, so that the order, and the script made
// from it, never depends on the machine's locale.
std::string nameOrderKey(std::string_view utf8);
// The same key added to the end of `keys`: a long list's keys side by side in one block.
void appendNameOrderKey(std::string_view utf8, std::string& keys);

// The order Windows gives in its default locale (en-US), for every character of Windows-1252,
// from the sort keys measured under Wine (scripts/generate-name-order.sh). A character outside
// the code page sorts after every character in it, by code point; a byte that is not UTF-8 after
// those, by its value. Keys of this kind compare only with each other.
std::string tableNameOrderKey(std::string_view utf8);
void appendTableNameOrderKey(std::string_view utf8, std::string& keys);

}  // namespace inkrun::platform
