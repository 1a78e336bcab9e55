#pragma once

// POSIX only: the desktop's opener is a program found on PATH there.

#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace inkrun::test {

#if defined(__APPLE__)
inline constexpr const char* kOpenerName = "open";
#else
inline constexpr const char* kOpenerName = "xdg-open";
#endif

// Puts PATH back however a test leaves it.
class PathGuard {
public:
    PathGuard() {
        if (const char* value = std::getenv("PATH")) saved_ = value;
    }
    ~PathGuard() {
        if (saved_) setenv("PATH", saved_->c_str(), 1);
        else unsetenv("PATH");
    }
    PathGuard(const PathGuard&) = delete;
    PathGuard& operator=(const PathGuard&) = delete;

private:
    std::optional<std::string> saved_;
};

// A stand-in for the desktop's opener in `bin`, made the only entry on PATH: it writes what it
// was given to "argument" and "count" in `record`, waits until `record` holds a file "release"
// if told to (a minute at most), and exits with `status`.
inline void installOpener(const TempDir& bin, const TempDir& record, int status, bool waitForRelease = false) {
    const std::string to = " > '" + record.path();
    std::string script = "#!/bin/sh\nPATH=/usr/bin:/bin\n";
    script += "printf '%s' \"$#\"" + to + "/count'\n";
    script += "printf '%s' \"$1\"" + to + "/argument'\n";
    if (waitForRelease) {
        script += "i=0; while [ ! -e '" + record.path() + "/release' ] && [ $i -lt 600 ]; do\n";
        script += "    sleep 0.1; i=$((i+1))\ndone\n";
    }
    script += "exit " + std::to_string(status) + "\n";
    const std::string opener = bin.write(kOpenerName, script);
    chmod(opener.c_str(), 0755);
    setenv("PATH", bin.path().c_str(), 1);
}

}  // namespace inkrun::test
