#pragma once

#include <string>

namespace inkrun::platform::posix {

// Temporaries beside a file being replaced. A name, where one is needed, is ".inkrun-", eight
// random letters or digits and ".tmp": its length never grows with the target's. The writer
// holds an flock on it from birth to rename, which tells a live writer's file from one left by a
// killed process.

struct Temporary {
    int fd = -1;
    std::string name;  // empty while the file has no name (Linux O_TMPFILE)
};

// An unnamed file where the system offers one, so that a kill leaves nothing behind; else a
// named one. Returns an errno value on failure.
int createTemporary(int directoryFd, Temporary& temporary);

// Gives an unnamed temporary its name, just before the rename. Returns 0 or an errno value.
int nameTemporary(int directoryFd, Temporary& temporary);

// Removes our temporaries that no live writer holds and that are not brand new (the instant
// between a named file's creation and its lock). Never throws; a failure leaves them.
void removeStaleTemporaries(int directoryFd) noexcept;

bool isTemporaryName(const std::string& name);

}  // namespace inkrun::platform::posix
