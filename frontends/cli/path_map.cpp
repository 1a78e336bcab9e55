#include "frontends/cli/path_map.h"

#include <algorithm>
#include <cctype>

#include "drawings/drawing_list_file.h"
#include "frontends/cli/cli_paths.h"
#include "frontends/cli/command_line.h"
#include "platform/ansi_codec.h"
#include "platform/file_lookup.h"
#include "platform/windows_names.h"
#include "script/script_builder.h"

namespace inkrun::cli {

namespace {

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

std::string quoted(std::string_view path) {
    std::string text(1, '"');
    text += platform::escapeControls(path);
    text += '"';
    return text;
}

// Why Windows would not read a TO written with backslashes as the folder it names: its root is
// a drive ("J:", the root) or a share ("\\server\share"), each step after it a name Windows keeps.
std::optional<std::string> whyNotWindowsTo(const std::string& to) {
    const std::string_view text = to;
    std::size_t at = 0;
    if (to[1] == ':') {
        if (to.size() == 2) return std::nullopt;
        if (to[2] != '\\')
            return "it is relative to the drive's current folder; write " + to.substr(0, 2) + "\\ before it";
        at = 3;
    } else {
        const std::size_t serverEnd = std::min(to.find('\\', 2), to.size());
        const std::size_t shareEnd = serverEnd == to.size() ? to.size()
                                                            : std::min(to.find('\\', serverEnd + 1), to.size());
        const std::string_view server = text.substr(2, serverEnd - 2);
        const std::string_view share = serverEnd == to.size() ? ""
                                                              : text.substr(serverEnd + 1, shareEnd - serverEnd - 1);
        if (server.empty()) return "it names no server; a share is \\\\server\\share";
        if (share.empty()) return "it names no share after the server; a share is \\\\server\\share";
        for (const std::string_view name : {server, share})
            if (const auto why = platform::whyNotWindowsName(name)) return "its name " + quoted(name) + " " + *why;
        if (shareEnd == to.size()) return std::nullopt;
        at = shareEnd + 1;
    }
    for (std::size_t end; at <= to.size(); at = end + 1) {
        end = std::min(to.find('\\', at), to.size());
        const std::string_view step = text.substr(at, end - at);
        if (step.empty()) return "it has two backslashes together, where a name belongs";
        if (const auto why = platform::whyNotWindowsName(step)) return "its step " + quoted(step) + " " + *why;
    }
    return std::nullopt;
}

// Where the rest of `path` starts when it is `to` or under it, as the system of `to` compares
// paths (a Windows one without regard to case, either slash a separator); npos when it is not.
std::size_t restAfter(std::string_view path, const std::string& to, char separator) {
    if (path.size() < to.size()) return std::string_view::npos;
    if (separator == '\\') {
        std::string head(path.substr(0, to.size()));
        std::replace(head.begin(), head.end(), '/', '\\');
        if (!platform::equalsIgnoringCase(head, to)) return std::string_view::npos;
    } else if (path.substr(0, to.size()) != to) {
        return std::string_view::npos;
    }
    if (path.size() > to.size() && !platform::isPathSeparator(path[to.size()], separator))
        return std::string_view::npos;  // "J:\jobs2" is not under "J:\jobs"
    return to.size();
}

}  // namespace

// FROM as it was given: without the separator that makes it match whole steps.
std::string PathMap::shownFrom(const Entry& entry) {
    const bool root = entry.from.size() == 1 || entry.from.ends_with(":\\");
    return root ? entry.from : entry.from.substr(0, entry.from.size() - 1);
}

PathMap::PathMap(const std::vector<std::string>& maps, const std::string& currentDirectory) {
    for (const std::string& map : maps) {
        const std::size_t equals = map.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == map.size())
            throw UsageError("option '--map' takes FROM=TO, such as /mnt/jobs=J:\\jobs, not '" + map + "'");
        Entry entry;
        const std::string from = map.substr(0, equals);
        // "Z:" alone would be the drive's current folder to Windows; here it is the drive.
        const bool bareDrive = platform::kPathSeparator == '\\' && platform::isBareDrive(from);
        entry.from = bareDrive ? from + platform::kPathSeparator : absoluteFrom(currentDirectory, from);
        if (!platform::isPathSeparator(entry.from.back())) entry.from.push_back(platform::kPathSeparator);
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
        if (entry.separator == '\\')
            if (const auto why = whyNotWindowsTo(entry.to))
                throw UsageError("option '--map' cannot write paths for Windows under '" + entry.to + "': " + *why);
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
        while (restStart < path.size() && platform::isPathSeparator(path[restStart]))
            ++restStart;  // a root's doubled one
        if (restStart == path.size()) continue;
        std::string mapped = entry.to;
        mapped.reserve(entry.to.size() + 1 + path.size() - restStart);
        std::optional<std::string> refusal;  // of the first step Windows would not open as written
        for (std::size_t step = restStart; step < path.size();) {
            std::size_t end = step;
            while (end < path.size() && !platform::isPathSeparator(path[end])) ++end;
            const std::string_view name = std::string_view(path).substr(step, end - step);
            mapped.push_back(entry.separator);
            mapped.append(name);
            if (entry.separator == '\\' && !refusal)
                if (const auto why = platform::whyNotWindowsName(name))
                    refusal = "its step " + quoted(name) + " " + *why;
            step = end + 1;
        }
        if (refusal)
            throw script::ScriptRefused("Cannot build: the drawing " + quoted(path) + " would be " + quoted(mapped) +
                                        " on Windows, but " + *refusal + ". Nothing was written.");
        return mapped;
    }
    std::string froms;
    for (const Entry& entry : entries_) froms += (froms.empty() ? "" : ", ") + shownFrom(entry);
    throw script::ScriptRefused("Cannot build: the drawing " + quoted(path) + " is under no --map FROM (" + froms +
                                "): a script for another system with a path of this one in it would stop there "
                                "half-way. Nothing was written.");
}

std::optional<std::string> PathMap::pathHere(std::string_view path) const {
    // The longest TO holding the path wins; two FROMs under one such TO leave the path unknown.
    const Entry* found = nullptr;
    std::size_t restStart = 0;
    for (const Entry& entry : entries_) {
        const std::size_t rest = restAfter(path, entry.to, entry.separator);
        if (rest != std::string_view::npos && (!found || entry.to.size() > found->to.size())) {
            found = &entry;
            restStart = rest;
        }
    }
    if (!found) return std::nullopt;
    for (const Entry& entry : entries_)
        if (entry.from != found->from && entry.to.size() == found->to.size() &&
            restAfter(path, entry.to, entry.separator) != std::string_view::npos)
            throw drawings::DrawingListRefused("it is under " + found->to + ", the --map TO of both " +
                                               shownFrom(*found) + " and " + shownFrom(entry) +
                                               ", so it could be either");
    if (!found) return std::nullopt;
    // The rest, its steps joined with this system's separator.
    std::string here = found->from;
    for (std::size_t at = restStart; at < path.size(); ++at) {
        const char c = path[at];
        if (!platform::isPathSeparator(c, found->separator)) here.push_back(c);
        else if (!platform::isPathSeparator(here.back())) here.push_back(platform::kPathSeparator);
    }
    return here;
}

}  // namespace inkrun::cli
