#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

#include "platform/file_io_backend.h"

// Paths resolved one name at a time from descriptors: each name opened in the folder held
// before it without following it (O_PATH | O_NOFOLLOW), a link read from its own descriptor and
// followed only under the link rule (link_rule_posix.h), and the walk's end kept as descriptors.
// What is then read, written, listed or renamed is reached from those descriptors, so a folder
// swapped for a link once the walk has passed it cannot redirect anything.

namespace inkrun::platform::posix {

// Where a walk to a file ended.
struct WalkedEntry {
    detail::NativeFile folder;        // the folder holding the file (O_PATH)
    std::string name;                 // the file's name there, never a link; empty when the path
                                      // names a folder ("/", "jobs/..", "jobs/")
    std::optional<struct stat> info;  // the file, when there is one
    // The name is a link of the system's in /proc that only the kernel can follow (an open
    // file's): opening it follows that link, nothing else; `info` is what it leads to.
    bool systemLink = false;
    std::optional<int> descriptor;  // the name is one of this process's open descriptors
};

// Where a walk starts: a folder held, and its resolved path; by default the root or the current
// directory, as the path says.
struct WalkStart {
    int folder = -1;
    std::string path;
};

// Walks `text` to its last name, following links on the way and at the end. Throws
// FileError(action, shown, reason) for a link the rule refuses, a folder on the way that is not
// there or cannot be searched, a loop of links.
WalkedEntry walkToEntry(std::string_view text, const std::string& shown, const std::string& action,
                        const WalkStart& from = {});

// Walks `text` to the folder it names, links followed, and returns it opened for reading
// (O_RDONLY | O_DIRECTORY), setting `resolved` to its path with every link resolved. Throws as
// walkToEntry; with `missingGivesNothing`, a path that leads to nothing or to no folder gives an
// invalid file instead.
detail::NativeFile walkToFolder(std::string_view text, const std::string& shown, const std::string& action,
                                std::string* resolved, const WalkStart& from = {}, bool missingGivesNothing = false);

// The folder a walked entry stands in, opened for reading: for the temporaries, syncing and a
// listing. Returns an invalid file with errno set on failure.
detail::NativeFile openForReading(int folder);

}  // namespace inkrun::platform::posix
