#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The order in which a sorted Windows list box shows names: the system's own comparison in the
// user's locale, without regard to case (CompareString with NORM_IGNORECASE). It is not the order
// of code points: accented letters sort beside their base letter, a ligature as its letters
// ("Æ" as "AE"), punctuation before digits and digits before letters, and the hyphen and the
// apostrophe count only when all else is equal ("coop", "co-op", "cop"). Other locales put some
// letters elsewhere ("Å" after "Z" in da-DK) or weigh some runs of letters as one ("ch" after "h"
// in cs-CZ).
//
// Orders are given as sort keys, made once per name: the byte strings of two keys (compared as
// std::string compares them) are in the order of their names. Names whose keys are equal (they
// differ only in letter case, in characters the comparison ignores, or in a ligature and its
// letters) are put in order by the caller: see ntfsListsBefore.

namespace inkrun::platform {

// On Windows the system's sort key (LCMapStringEx, LCMAP_SORTKEY | NORM_IGNORECASE) in the
// chosen locale, else the user's; elsewhere the chosen locale's NameOrderTable, else en-US's,
// so that the order, and the script made from it, never depends on the machine's locale.
std::string nameOrderKey(std::string_view utf8);
// The same key added to the end of `keys`: a long list's keys side by side in one block.
void appendNameOrderKey(std::string_view utf8, std::string& keys);

// Makes nameOrderKey give the order of `locale` ("da-DK", "es-ES_tradnl"; letter case aside), or
// with an empty name the default one, for the whole process, until it is chosen again (a build
// chooses before it lists drawings). On Windows any locale the system knows; elsewhere one of
// NameOrderTable::locales(). False, with nothing changed, for a locale this system does not know.
bool chooseNameOrderLocale(std::string_view locale);
// The locales chooseNameOrderLocale takes here, in the order of their names.
std::vector<std::string> nameOrderLocales();

// The order Windows gives in one locale, for every character of Windows-1252, from the sort keys
// measured under Wine (scripts/generate-name-order.sh). A character outside the code page sorts
// after every character in it, by code point; a byte that is not UTF-8 after those, by its value.
// Keys of one table compare only with each other.
class NameOrderTable {
public:
    // The table of `locale`, letter case aside, or null when none was measured: every locale that
    // writes in Latin letters or in Windows-1252 has one, most of them en-US's.
    static const NameOrderTable* find(std::string_view locale);
    static const NameOrderTable& enUs();
    // Every locale find() knows, in the order of their names.
    static std::vector<std::string_view> locales();
    // Every table once.
    static std::vector<const NameOrderTable*> all();

    // The locale the table was measured in, one of those that order by it.
    std::string_view measuredIn() const;

    std::string key(std::string_view utf8) const;
    void appendKey(std::string_view utf8, std::string& keys) const;

    explicit constexpr NameOrderTable(std::size_t index) : index_(index) {}

private:
    std::size_t index_;
};

// Whether an NTFS folder lists `a` before `b`, as Windows fills a list from it: by the file
// system's upper-case table, one UTF-16 unit at a time. Names alike even there, which only a
// folder that tells case apart holds, by code point ("A.dwg" before "a.dwg"). On Windows the
// system's upper-case table; elsewhere tableNtfsListsBefore.
bool ntfsListsBefore(std::string_view a, std::string_view b);
// The same with the upper case of the characters of Windows-1252, as Windows gives it; every
// other character stands as it is.
bool tableNtfsListsBefore(std::string_view a, std::string_view b);

}  // namespace inkrun::platform
