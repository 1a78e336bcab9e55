#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "frontends/cli/cli_options.h"

namespace inkrun::cli {

// inkrun-build: the window's Build command run from a command line, with the window's start-up
// state as its defaults. `args` excludes the program name; `currentDirectory` stands for the
// process's current directory (the default settings directory; relative paths start there).
// The script goes to `out` with "--output -"; success lines and a dry run's report go to `out`,
// everything else to `err`; "--from-list -" reads `in`.
// Returns kExitSuccess (the script is written, even when the success line could not be printed),
// kExitBuildFailed (nothing written), kExitUsage or kExitWrittenWithWarning (written, but an old
// script was left, durability is unconfirmed, or a subfolder could not be read).
int runBuildCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
                const std::string& currentDirectory);

// The same, reading standard input.
int runBuildCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                const std::string& currentDirectory);

}  // namespace inkrun::cli
