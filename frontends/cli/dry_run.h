#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "frontends/cli/build_warnings.h"
#include "frontends/cli/command_line.h"
#include "script/script_builder.h"

// What --dry-run prints: the report, the report with every line of each script, or one JSON
// document (its fields are listed in the README, under "A dry run").

namespace inkrun::cli {

struct BuildSources;

// Everything a build would write, and where.
struct DryRun {
    const script::PreparedScript& script;
    const std::vector<script::ScriptBatch>& batches;
    std::vector<std::string> scripts;  // each batch's path here, or "standard output"
    std::vector<std::string> removes;  // numbered scripts of an earlier run the build would remove
    const BuildSources& sources;
    std::string startAfter;  // the drawing --start-after names, as the script writes it
    std::size_t leftOut = 0;
    const std::vector<BuildWarning>& warnings;
    std::size_t batchSize = 0;  // --batch; 0 without it
    bool standardOutput = false;
};

void printDryRun(const DryRun& dryRun, DryRunFormat format, std::ostream& out);

}  // namespace inkrun::cli
