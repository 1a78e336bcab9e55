#pragma once

namespace inkrun::platform::testing {

// Makes directory syncs after a rename fail with this errno value; 0 gives the system's own
// result again. A directory sync cannot be made to fail on a real disk in a test.
void failDirectorySyncWith(int errorNumber) noexcept;

}  // namespace inkrun::platform::testing
