#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace inkrun::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitBuildFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitWrittenWithWarning = 3;  // the script is written, but see the warning

// inkrun-build: the window's Build command run from a command line, with the window's start-up
// state as its defaults. `args` excludes the program name; `currentDirectory` stands for the
// process's current directory (the default settings directory; relative paths start there).
// The script goes to `out` with "--output -"; success lines go to `out`, everything else to `err`.
// Returns kExitSuccess (the script is written, even when the success line could not be printed),
// kExitBuildFailed (nothing written), kExitUsage or kExitWrittenWithWarning (written, but an old
// script was left or durability is unconfirmed).
int runBuildCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const std::string& currentDirectory);

// The --help text, and the few lines shown on standard error when run without arguments.
std::string usageText();
std::string shortUsageText();

}  // namespace inkrun::cli
