#pragma once

#include <string>

// The POSIX temporaries of the rule in temporary_name.h: held with an flock from birth to rename.

namespace inkrun::platform::posix {

struct Temporary {
    int fd = -1;
    std::string name;  // empty while the file has no name (Linux O_TMPFILE)
};

// An unnamed file where the system offers one, so that a kill leaves nothing behind; else a
// named one. Returns an errno value on failure.
int createTemporary(int directoryFd, Temporary& temporary);

// Gives an unnamed temporary its name, just before the rename. Returns 0 or an errno value.
int nameTemporary(int directoryFd, Temporary& temporary);

// Removes the stale temporaries of the directory. Never throws; a failure leaves them.
void removeStaleTemporaries(int directoryFd) noexcept;

}  // namespace inkrun::platform::posix
