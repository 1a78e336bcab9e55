#include "frontends/cli/script_delivery.h"

#include <algorithm>
#include <cerrno>
#include <future>
#include <memory>
#include <span>
#include <unordered_map>
#include <string_view>
#include <utility>

#include "drawings/drawing_hazards.h"
#include "frontends/cli/cli_paths.h"
#include "frontends/cli/dry_run.h"
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/utf8_path.h"
#include "script/build_command.h"

namespace inkrun::cli {

namespace {

// Names and paths as this system compares them: on Windows without regard to case.
bool sameName(const std::string& a, const std::string& b) {
#ifdef _WIN32
    return platform::equalsIgnoringCase(a, b);
#else
    return a == b;
#endif
}

// A drawing's path here, and as the script writes it.
std::string pathHere(const script::ScriptJob& job, const std::string& drawing) {
    return job.fullPaths ? drawing : platform::joinPath(job.directory, drawing, job.separator);
}

std::string fileNameOf(const std::string& path) {
    std::size_t start = path.size();
    while (start > 0 && !platform::isPathSeparator(path[start - 1])) --start;
    return path.substr(start);
}

// --start-after: leaves out the drawings the script would open up to the one `given` names, and
// that one. It names a drawing by its file name, its path here or its path in the script.
void leaveOutThrough(PlannedJob& planned, const std::string& given, const PathMap& map) {
    script::ScriptJob& job = planned.job;
    const std::size_t count = job.drawings.size();
    std::vector<std::size_t> found;  // places in the script's order, from 0
    for (std::size_t place = 0; place < count; ++place) {
        const std::string here = pathHere(job, job.drawings[job.descending ? count - 1 - place : place]);
        if (sameName(given, fileNameOf(here)) || sameName(given, here) ||
            (!map.empty() && sameName(given, map.map(here))))
            found.push_back(place);
    }
    if (found.empty())
        throw UsageError("option '--start-after' names '" + given + "', none of the " + std::to_string(count) +
                         " drawings the script would open");
    if (found.size() > 1)
        throw UsageError("option '--start-after' names '" + given + "', which is drawing " +
                         std::to_string(found[0] + 1) + " and drawing " + std::to_string(found[1] + 1) +
                         " of the script: give the path the script writes");
    const std::size_t place = found.front();
    const std::string here = pathHere(job, job.drawings[job.descending ? count - 1 - place : place]);
    planned.startAfter = map.empty() ? here : map.map(here);
    if (place + 1 == count)
        throw std::runtime_error("Cannot build: " + planned.startAfter +
                                 ", named by --start-after, is the last drawing the script would open, so none is "
                                 "left after it. Nothing was written.");
    planned.leftOut = place + 1;
    if (job.descending) job.drawings.resize(count - planned.leftOut);
    else job.drawings.erase(job.drawings.begin(), job.drawings.begin() + static_cast<std::ptrdiff_t>(planned.leftOut));
}

// The drawings where they are here, for a look while the script is written: a view of the job's
// own list, which stays put while the job is handed on, or a copy of it before --map rewrites it.
struct DrawingsHere {
    std::string directory;
    std::vector<std::string> copy;
    std::span<const std::string> drawings;
    bool fullPaths;
    bool descending;
    char separator;
    EarlyLook early;
};

// The early look's findings placed among the drawings (names in the directory) by their names;
// those of drawings the job leaves out go.
std::vector<drawings::DrawingHazard> placed(const DrawingsHere& here) {
    std::vector<drawings::DrawingHazard> hazards = here.early.get();
    if (hazards.empty()) return hazards;
    const std::size_t prefix = platform::joinPath(here.directory, "", here.separator).size();
    std::unordered_map<std::string_view, std::vector<std::size_t>> byName;
    for (std::size_t i = 0; i < hazards.size(); ++i)
        byName[std::string_view(hazards[i].path).substr(prefix)].push_back(i);
    std::vector<drawings::DrawingHazard> found;
    for (std::size_t drawing = 0; drawing < here.drawings.size(); ++drawing)
        if (const auto hit = byName.find(here.drawings[drawing]); hit != byName.end())
            for (const std::size_t i : hit->second) {
                found.push_back(hazards[i]);
                found.back().drawing = drawing;
            }
    return found;
}

// In the order the script opens the drawings: the first to trip the run first.
std::vector<BuildWarning> hazardWarnings(const DrawingsHere& here) {
    const std::size_t count = here.drawings.size();
    std::vector<drawings::DrawingHazard> hazards = here.early.valid()
                                                       ? placed(here)
                                                       : drawings::drawingHazards(here.directory, here.drawings,
                                                                                  here.fullPaths, here.separator);
    const auto place = [&](const drawings::DrawingHazard& hazard) {
        return here.descending ? count - hazard.drawing : hazard.drawing + 1;
    };
    std::stable_sort(hazards.begin(), hazards.end(), [&](const auto& a, const auto& b) { return place(a) < place(b); });
    std::vector<BuildWarning> warnings;
    for (const drawings::DrawingHazard& hazard : hazards)
        warnings.push_back(hazardWarning(hazard, place(hazard), count));
    return warnings;
}

// Where the scripts go: a folder, the name of the first, and each script's path there.
struct Target {
    std::string directory;
    std::string name;
    char separator;
    std::string prefix;  // what stands before a script's name in its path
    bool standardOutput = false;

    std::string pathOf(const std::string& scriptName) const { return prefix + scriptName; }
};

// A full path as its folder and its name. A root keeps its separator, as the current directory
// reports it ("/", "C:\\").
std::pair<std::string, std::string> folderAndName(const std::string& path) {
    std::size_t slash = path.size();
    while (slash > 0 && !platform::isPathSeparator(path[slash - 1])) --slash;
    --slash;  // absoluteFrom gave a path with a separator
    const std::size_t root = platform::textOf(platform::pathOf(path).root_path()).size();
    return {path.substr(0, std::max(slash, root > 0 ? root : slash)), path.substr(slash + 1)};
}

Target targetOf(const script::ScriptJob& job, const Options& options, const ProgramSettings& settings,
                const std::string& currentDirectory) {
    if (!options.output) {
        const std::string path = platform::joinPath(job.directory, settings.scriptFileName, job.separator);
        return {job.directory, settings.scriptFileName, job.separator,
                path.substr(0, path.size() - settings.scriptFileName.size())};
    }
    if (*options.output == "-") return {{}, settings.scriptFileName, job.separator, {}, true};
    const std::string path = absoluteFrom(currentDirectory, *options.output);
    auto [directory, name] = folderAndName(path);
    std::string prefix = path.substr(0, path.size() - name.size());
    return {std::move(directory), std::move(name), platform::kPathSeparator, std::move(prefix)};
}

// The scripts of the job, each but the last starting the next unless --no-chain.
std::vector<script::ScriptBatch> batchesOf(const script::PreparedScript& script, const Target& target,
                                           const Options& options, const PathMap& map) {
    if (!options.batch) return {script::ScriptBatch{target.name, 0, script.drawingCount(), {}}};
    const auto reachedAs = [&](const std::string& name) {
        const std::string here = target.pathOf(name);
        if (map.empty()) return here;
        try {
            return map.map(here);
        } catch (const script::ScriptRefused&) {
            throw script::ScriptRefused("Cannot build: the scripts go to " + target.directory +
                                        ", which is under no --map FROM, so the line that starts the next script "
                                        "would name a path of this system. Give a --map FROM that holds it, or "
                                        "--no-chain. Nothing was written.");
        }
    };
    return script::cutIntoBatches(script.drawingCount(), options.batch, target.name,
                                  options.chain ? std::function<std::string(const std::string&)>(reachedAs) : nullptr);
}

void writeToStandardOutput(const script::PreparedScript& script, std::ostream& out) {
    errno = 0;
    script.write([&](std::span<const std::string_view> pieces) {
        for (const std::string_view piece : pieces) out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    });
    out.flush();
    if (!out)
        throw platform::FileError("write", "standard output", errno ? platform::systemReason(errno) : "write error");
}

// "Inkrun.scr", or "Inkrun.scr to Inkrun_004.scr (4 scripts, each starting the next)".
std::string scriptNames(const std::vector<script::ScriptBatch>& batches, const Options& options) {
    if (batches.size() == 1) return batches.front().name;
    return batches.front().name + " to " + batches.back().name + " (" + std::to_string(batches.size()) + " scripts, " +
           (options.chain ? "each starting the next" : "each started by hand") + ")";
}

}  // namespace

EarlyLook lookAtEveryDrawing(const std::string& directory, char separator) {
    return std::async(std::launch::async, [=] { return drawings::folderHazards(directory, separator); }).share();
}

void addRunWarnings(PlannedJob& planned, std::vector<BuildWarning>& warnings) {
    if (planned.drawingWarnings.valid()) {
        std::vector<BuildWarning> found = planned.drawingWarnings.get();
        warnings.insert(warnings.end(), found.begin(), found.end());
    }
    warnings.insert(warnings.end(), planned.lineWarnings.begin(), planned.lineWarnings.end());
    planned.lineWarnings.clear();
}

std::optional<PlannedJob> jobFor(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings,
                                 std::optional<std::vector<std::string>> paths, const PathMap& map,
                                 const Options& options, const BuildSources& sources, const EarlyLook& early) {
    const bool listed = !paths;
    std::optional<script::ScriptJob> job = script::scriptJobFromWindow(state, dialogs, settings, std::move(paths));
    if (!job) return std::nullopt;
    PlannedJob planned{std::move(*job), 0, {}, {}, {}};
    script::ScriptJob& shaped = planned.job;
    shaped.expand = options.expand;
    if (sources.preamble) shaped.preamble = sources.preamble->text;
    if (sources.epilogue) shaped.epilogue = sources.epilogue->text;
    if (options.startAfter) leaveOutThrough(planned, *options.startAfter, map);

    auto here = std::make_unique<DrawingsHere>(DrawingsHere{shaped.directory,
                                                            {},
                                                            shaped.drawings,
                                                            shaped.fullPaths,
                                                            shaped.descending,
                                                            shaped.separator,
                                                            listed ? early : EarlyLook()});
    if (!map.empty()) {
        here->copy = shaped.drawings;
        here->drawings = here->copy;
    }
    planned.drawingWarnings = std::async(std::launch::async,
                                         [here = std::move(here)] { return hazardWarnings(*here); });
    addInvisibleAnswers(shaped.setupText, "the setup (" + sources.setup.description + ")",
                        sources.setup.file.value_or(""), planned.lineWarnings);
    for (const auto& [lines, whose] :
         {std::pair{&sources.preamble, "the preamble "}, {&sources.epilogue, "the epilogue "}})
        if (*lines) addInvisibleAnswers((*lines)->text, whose + (*lines)->path, (*lines)->path, planned.lineWarnings);

    if (map.empty()) return planned;
    if (listed) {
        for (std::string& name : shaped.drawings) name = platform::joinPath(shaped.directory, name, shaped.separator);
        shaped.fullPaths = true;
    }
    for (std::string& path : shaped.drawings) path = map.map(path);
    return planned;
}

void requireOutputDirectory(const Options& options, const std::string& currentDirectory) {
    if (!options.output || *options.output == "-") return;
    const std::string directory = folderAndName(absoluteFrom(currentDirectory, *options.output)).first;
    if (!platform::dirExists(directory)) throw UsageError("output directory '" + directory + "' does not exist");
}

void deliver(PlannedJob& planned, const BuildSources& sources, const Options& options, const ProgramSettings& settings,
             const PathMap& map, const std::vector<BuildWarning>& warnings, const std::function<void()>& warningsKnown,
             UserDialogs& dialogs, std::ostream& out, const std::string& currentDirectory) {
    const Target target = targetOf(planned.job, options, settings, currentDirectory);
    const script::PreparedScript script(std::move(planned.job));  // refuses before anything is written
    // The look at the drawings may view the job's list, which goes with the script.
    struct WaitForTheLook {
        std::future<std::vector<BuildWarning>>& look;
        ~WaitForTheLook() {
            if (look.valid()) look.wait();
        }
    } const waitForTheLook{planned.drawingWarnings};
    const std::vector<script::ScriptBatch> batches = batchesOf(script, target, options, map);

    if (options.dryRun) {
        warningsKnown();
        if (options.quiet) return;
        DryRun dryRun{script,
                      batches,
                      {},
                      {},
                      sources,
                      planned.startAfter,
                      planned.leftOut,
                      warnings,
                      options.batch,
                      target.standardOutput};
        for (const script::ScriptBatch& batch : batches)
            dryRun.scripts.push_back(target.standardOutput ? "standard output" : target.pathOf(batch.name));
        if (options.batch) {
            try {
                dryRun.removes = script::leftoverScripts(target.directory, batches, target.name, target.separator);
            } catch (const platform::FileError&) {
                // The build says what is wrong with the folder.
            }
        }
        printDryRun(dryRun, options.dryRunFormat, out);
        return;
    }
    // The drawings are looked at while the script is written, and the build waits for them only
    // where --strict must refuse before anything is put in place.
    const auto strictly = [&] {
        if (options.strict) warningsKnown();
    };
    if (target.standardOutput) {
        strictly();  // what reaches the stream cannot be taken back
        writeToStandardOutput(script, out);
        return;  // a success line would land in the script
    }
    if (options.output && !options.batch) {
        platform::AtomicFileWriter writer(target.pathOf(target.name), platform::StreamTarget::WriteInto);
        script.write([&](std::span<const std::string_view> pieces) { writer.writePieces(pieces); });
        strictly();
        writer.commit();
        if (writer.descriptor() == 1) return;  // as with "-": a success line would land in the script
    } else {
        const script::SavedScripts saved = script::saveScripts(script, batches, target.directory, target.separator,
                                                               target.name, strictly, options.batch > 0);
        if (!saved.removed.empty()) {
            std::string removed;
            for (const std::string& path : saved.removed) removed += (removed.empty() ? "" : ", ") + fileNameOf(path);
            dialogs.showMessage(script::scriptSavedMessage(scriptNames(batches, options), target.directory) +
                                    "\rRemoved, left by an earlier run: " + removed,
                                kApplicationTitle, MessageIcon::None);
            return;
        }
    }
    dialogs.showMessage(script::scriptSavedMessage(scriptNames(batches, options), target.directory), kApplicationTitle,
                        MessageIcon::None);
}

}  // namespace inkrun::cli
