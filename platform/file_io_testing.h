#pragma once

#include <cstdint>

namespace inkrun::platform::testing {

// Makes directory syncs after a rename fail with this errno value; 0 gives the system's own
// result again. A directory sync cannot be made to fail on a real disk in a test.
void failDirectorySyncWith(int errorNumber) noexcept;

// Makes reads take this many bytes for all the memory the process can have; 0 gives the
// system's own figure again. No test can rely on the memory of the machine it runs on.
void limitMemoryForReadsTo(std::uint64_t bytes) noexcept;

// How many full reads of a directory this process has made (POSIX): a test of the rule that a
// build reads its directory once counts them.
std::uint64_t directoryReadsSoFar() noexcept;

}  // namespace inkrun::platform::testing
