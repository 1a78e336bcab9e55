#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One read of a directory serves a whole build. A build needs its directory three times: for the
// drawing list, for the leftover temporaries of killed writes (temporary_name.h), and for old
// scripts stored under another letter case; with 100,000 drawings each read costs as much as a
// good part of writing the script. So every full read is kept as the directory's record: the
// temporaries it held and a fingerprint of each name that ignores case. Later needs are answered from the record for as
// long as the directory's stamps prove that nothing in it has changed since; else it is read again.
// A name that is a symbolic link is always looked at again: the stamps do not cover what it leads to.

namespace inkrun::platform::posix {

// Reads every entry of the directory open at `directoryFd` once and keeps what it found as the
// directory's record. Calls ordinary(name) for each ordinary file (regular, links followed, not
// hidden) and adds each temporary's name to `temporaries` when given. Returns 0 or an errno value.
int readDirectory(int directoryFd, const std::function<void(std::string_view)>& ordinary,
                  std::vector<std::string>* temporaries = nullptr);

// The temporaries the directory held at its last read, if its record still stands.
std::optional<std::vector<std::string>> recordedTemporaries(int directoryFd);

// The ordinary files whose names fold as `name` does (file_lookup.h), when the record can tell
// them without a read: none, or `name` alone. nullopt when only a read can.
std::optional<std::vector<std::string>> recordedCaseVariants(int directoryFd, const std::string& name);

}  // namespace inkrun::platform::posix
