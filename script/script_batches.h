#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A long job cut into scripts of a few drawings each, so that a crash costs one batch. The first
// script keeps the script's own name ("Inkrun.scr"), the others are numbered after it
// ("Inkrun_002.scr" to "Inkrun_999.scr"), which sorts them in order, and each but the last may end
// by starting the next one.

namespace inkrun::script {

inline constexpr std::size_t kMostScripts = 999;

// One script of the job: its file name, its drawings as positions in the order the scripts open
// them (from 0), and the script it starts at its end, as the CAD program reaches it.
struct ScriptBatch {
    std::string name;
    std::size_t first = 0;
    std::size_t count = 0;
    std::optional<std::string> next;
};

// The name of the script numbered `number` (2 and up): "Inkrun_002.scr" for "Inkrun.scr".
std::string numberedScriptName(std::string_view scriptFileName, std::size_t number);

// Whether `name` is a numbered script of `scriptFileName` without regard to case, whatever its
// number: one an earlier run may have left.
bool isNumberedScriptOf(std::string_view name, std::string_view scriptFileName);

// `drawings` cut into scripts of at most `size` each; 0 is one script for all. With `reachedAs`,
// each but the last starts the next one, named by the path reachedAs gives for its file name.
// Throws ScriptRefused for more than kMostScripts scripts, or a path that would break the line
// that starts the next script.
std::vector<ScriptBatch> cutIntoBatches(std::size_t drawings, std::size_t size, const std::string& scriptFileName,
                                        const std::function<std::string(const std::string&)>& reachedAs);

}  // namespace inkrun::script
