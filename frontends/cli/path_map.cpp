#include "frontends/cli/path_map.h"

#include <algorithm>
#include <cctype>

#include "frontends/cli/cli_paths.h"
#include "frontends/cli/command_line.h"
#include "platform/ansi_codec.h"
#include "platform/file_lookup.h"
#include "script/script_builder.h"

namespace inkrun::cli {

namespace {

// What a Windows name cannot hold beyond what the script refuses anyway (quotes, controls).
constexpr std::string_view kNotInWindowsNames = "\\:*?<>|";

bool isWindowsPath(const std::string& path) {
    const bool drive = path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
    return drive || path.starts_with("\\\\");
}

// FROM is compared as the system compares paths: on Windows without regard to case.
bool startsWith(const std::string& path, const std::string& prefix) {
    if (path.size() < prefix.size()) return false;
#ifdef _WIN32
    return platform::equalsIgnoringCase(std::string_view(path).substr(0, prefix.size()), prefix);
#else
    return path.compare(0, prefix.size(), prefix) == 0;
#endif
}

std::string quoted(const std::string& path) { return "\"" + platform::escapeControls(path) + "\""; }

}  // namespace

PathMap::PathMap(const std::vector<std::string>& maps, const std::string& currentDirectory) {
    for (const std::string& map : maps) {
        const std::size_t equals = map.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == map.size())
            throw UsageError("option '--map' takes FROM=TO, such as /mnt/jobs=J:\\jobs, not '" + map + "'");
        Entry entry;
        entry.from = absoluteFrom(currentDirectory, map.substr(0, equals));
        if (!isPathSeparator(entry.from.back())) entry.from.push_back(platform::kPathSeparator);
        entry.to = map.substr(equals + 1);
        if (isWindowsPath(entry.to)) {
            entry.separator = '\\';
            std::replace(entry.to.begin(), entry.to.end(), '/', '\\');
        } else if (entry.to.front() == '/') {
            entry.separator = '/';
        } else {
            throw UsageError(
                "option '--map' needs a full path after '=': a drive (J:\\jobs), a share "
                "(\\\\server\\share) or a path from / (/mnt/jobs), not '" +
                entry.to + "'");
        }
        while (!entry.to.empty() && entry.to.back() == entry.separator && entry.to != "\\\\") entry.to.pop_back();
        for (const Entry& other : entries_)
            if (other.from == entry.from && other.to != entry.to)
                throw UsageError("option '--map' maps " + entry.from + " twice, to " + other.to + " and to " +
                                 entry.to);
        entries_.push_back(std::move(entry));
    }
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.from.size() > b.from.size(); });
}

std::string PathMap::map(const std::string& path) const {
    for (const Entry& entry : entries_) {
        if (!startsWith(path, entry.from)) continue;
        std::size_t restStart = entry.from.size();
        while (restStart < path.size() && isPathSeparator(path[restStart])) ++restStart;  // a root's doubled one
        if (restStart == path.size()) continue;
        std::string mapped = entry.to;
        mapped.reserve(entry.to.size() + 1 + path.size() - restStart);
        mapped.push_back(entry.separator);
        for (std::size_t i = restStart; i < path.size(); ++i) {
            const char c = path[i];
            if (isPathSeparator(c)) {
                mapped.push_back(entry.separator);
                continue;
            }
            if (entry.separator == '\\' && kNotInWindowsNames.find(c) != std::string_view::npos)
                throw script::ScriptRefused("Cannot build: the drawing " + quoted(path) + " has '" + std::string(1, c) +
                                            "' in its path, which a Windows path cannot hold; mapped to " + entry.to +
                                            " it would fail there. Nothing was written.");
            mapped.push_back(c);
        }
        return mapped;
    }
    std::string froms;
    for (const Entry& entry : entries_) {
        // Shown as it was given: without the separator that makes it match whole steps.
        const bool root = entry.from.size() == 1 || entry.from.ends_with(":\\");
        froms += (froms.empty() ? "" : ", ") + (root ? entry.from : entry.from.substr(0, entry.from.size() - 1));
    }
    throw script::ScriptRefused("Cannot build: the drawing " + quoted(path) + " is under no --map FROM (" + froms +
                                "): a script for another system with a path of this one in it would stop there "
                                "half-way. Nothing was written.");
}

}  // namespace inkrun::cli
