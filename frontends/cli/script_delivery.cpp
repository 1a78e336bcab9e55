#include "frontends/cli/script_delivery.h"

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <utility>

#include "frontends/cli/cli_paths.h"
#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/file_lookup.h"
#include "platform/utf8_path.h"
#include "script/build_command.h"

namespace inkrun::cli {

namespace {

// The path a drawing has in the script, for the dry run: the job's, without the code page.
std::string scriptPathOf(const script::ScriptJob& job, const std::string& drawing) {
    return job.fullPaths ? drawing : platform::joinPath(job.directory, drawing, job.separator);
}

// What the build would do, without doing it: the job's own checks, then its setup, target and
// drawings in the script's order.
void printDryRun(const script::ScriptJob& job, const SetupOrigin& setup, const std::string& target, std::ostream& out) {
    script::checkScriptJob(job);
    out << "Setup: " << setup.description << '\n'
        << "Script: " << target << '\n'
        << "Drawings, " << (job.descending ? "dsc" : "asc") << ", " << job.drawings.size()
        << " in the order the script opens them:\n";
    const auto print = [&](const std::string& drawing) { out << scriptPathOf(job, drawing) << '\n'; };
    if (job.descending) std::for_each(job.drawings.rbegin(), job.drawings.rend(), print);
    else std::for_each(job.drawings.begin(), job.drawings.end(), print);
}

// A full path as its folder and its name. A root keeps its separator, as the current directory
// reports it ("/", "C:\\").
std::pair<std::string, std::string> folderAndName(const std::string& path) {
    std::size_t slash = path.size();
    while (slash > 0 && !isPathSeparator(path[slash - 1])) --slash;
    --slash;  // absoluteFrom gave a path with a separator
    const std::size_t root = platform::textOf(platform::pathOf(path).root_path()).size();
    return {path.substr(0, std::max(slash, root > 0 ? root : slash)), path.substr(slash + 1)};
}

void writeScriptTo(const std::string& output, script::ScriptJob job, UserDialogs& dialogs, std::ostream& out,
                   const std::string& currentDirectory) {
    if (output == "-") {
        // writeScript refuses a bad job before its first block, so a refusal writes nothing.
        errno = 0;
        script::writeScript(std::move(job), [&](std::string_view block) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        });
        out.flush();
        if (!out)
            throw platform::FileError("write", "standard output",
                                      errno ? platform::systemReason(errno) : "write error");
        return;  // a success line would land in the script
    }
    const std::string path = absoluteFrom(currentDirectory, output);
    platform::AtomicFileWriter writer(path, platform::StreamTarget::WriteInto);
    script::writeScript(std::move(job), writer);
    writer.commit();
    if (writer.descriptor() == 1) return;  // as with "-": a success line would land in the script
    const auto [directory, name] = folderAndName(path);
    dialogs.showMessage(script::scriptSavedMessage(name, directory), kApplicationTitle, MessageIcon::None);
}

}  // namespace

std::optional<script::ScriptJob> jobFor(MainWindowState& state, UserDialogs& dialogs, const ProgramSettings& settings,
                                        std::optional<std::vector<std::string>> paths, const PathMap& map) {
    const bool listed = !paths;
    std::optional<script::ScriptJob> job = script::scriptJobFromWindow(state, dialogs, settings, std::move(paths));
    if (!job || map.empty()) return job;
    if (listed) {
        for (std::string& name : job->drawings) name = platform::joinPath(job->directory, name, job->separator);
        job->fullPaths = true;
    }
    for (std::string& path : job->drawings) path = map.map(path);
    return job;
}

void requireOutputDirectory(const Options& options, const std::string& currentDirectory) {
    if (!options.output || *options.output == "-") return;
    const std::string directory = folderAndName(absoluteFrom(currentDirectory, *options.output)).first;
    if (!platform::dirExists(directory)) throw UsageError("output directory '" + directory + "' does not exist");
}

void deliver(script::ScriptJob job, const SetupOrigin& setup, const Options& options, const ProgramSettings& settings,
             UserDialogs& dialogs, std::ostream& out, const std::string& currentDirectory) {
    if (options.dryRun) {
        std::string target = "standard output";
        if (!options.output) target = platform::joinPath(job.directory, settings.scriptFileName, job.separator);
        else if (*options.output != "-") target = absoluteFrom(currentDirectory, *options.output);
        if (!options.quiet) printDryRun(job, setup, target, out);
        else script::checkScriptJob(job);
        return;
    }
    if (options.output) writeScriptTo(*options.output, std::move(job), dialogs, out, currentDirectory);
    else script::saveScriptAndReport(std::move(job), settings, dialogs);
}

}  // namespace inkrun::cli
