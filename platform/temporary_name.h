#pragma once

#include <chrono>
#include <string>
#include <string_view>

// The temporaries a write leaves beside the file it replaces, the same on every system.
//
// A temporary is called ".inkrun-", eight random letters or digits and ".tmp": its length never
// grows with the target's, so a target of the longest name a directory takes still saves. Its
// writer holds it from birth to rename (an flock on POSIX, a handle that shares nothing on
// Windows). One that nobody holds and that is at least kStaleTemporaryAge old was left by a
// writer that was killed: every write removes such files from its directory, once it has made
// sure the file it removes is the one it examined.

namespace inkrun::platform {

inline constexpr std::chrono::seconds kStaleTemporaryAge{60};

std::string randomTemporaryName();
bool isTemporaryName(std::string_view name);

// Calls attempt(name) with fresh names until it returns anything but `taken` (a name in use),
// and returns that; `taken` when every name tried was in use.
template <typename Code, typename Attempt>
Code underFreshTemporaryName(Code taken, Attempt attempt) {
    constexpr int kAttempts = 100;
    for (int i = 0; i < kAttempts; ++i) {
        const Code result = attempt(randomTemporaryName());
        if (result != taken) return result;
    }
    return taken;
}

}  // namespace inkrun::platform
