#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user_places.h"

// A setup typed and never saved is kept in a folder (the settings directory; the person's own
// data folder when that cannot take it) under a name of its own: the first as
// "Setup.unsaved.txt", each later one with the time it was kept,
// "Setup.unsaved_2026-12-03_14-05-22.txt", so that the names sort by age. A kept setup never
// replaces another.

namespace inkrun::setup {

inline constexpr const char* kFirstKeptSetupName = "Setup.unsaved.txt";

// The most kept setups a folder holds: keeping one more drops the oldest of those the person has
// been told about, while it is as it was when they were told; never one they were not told
// about, nor one changed since, so a folder may come to hold more.
inline constexpr std::size_t kMostKeptSetups = 10;

// Which kept setups the person has been told about, each with its size and last change then: a
// hidden file beside them.
inline constexpr const char* kToldRecordName = ".Setup.unsaved.told";

// Keeps the editor's text in `folder` (made first when `makeFolder` and it is missing) under a
// name of its own, in the setup file format: a text the code page cannot hold goes as UTF-8
// behind a byte-order mark. Returns its path. Throws platform::FileError when it cannot be
// written; nothing is dropped then.
std::string keepSetup(const std::string& folder, const std::string& text, const platform::LocalTime& now,
                      bool makeFolder = false);

// The kept setups in `folder` the person has not been told about, oldest first, as paths. From
// now on they count as told. None when the folder is not there or cannot be read.
std::vector<std::string> keptSetupsToTell(const std::string& folder);

// One line of the told record.
struct ToldSetup {
    std::string name;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    bool operator==(const ToldSetup&) const = default;
};
// The record's text, and the record a text holds (lines that hold none are passed over).
std::string toldRecordText(const std::vector<ToldSetup>& told);
std::vector<ToldSetup> toldSetupsIn(std::string_view text);

}  // namespace inkrun::setup
