#pragma once

#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

// Which symbolic links a walk (path_walk_posix.h) follows, for every user. A link is another
// user's way to steer us: to a file we may write and they may not, or to a folder a swap makes
// ours for an instant. So:
// 1. A link in a folder that others may write to (world-writable or sticky) is followed only
//    when it belongs to us or to the folder's owner, as the kernel's protected_symlinks has it.
// 2. A link that another user controls, being its owner or the owner of the folder it stands in
//    (neither root nor us), leads only to what that same user owns: the file, the folder, or
//    for a file not yet there the folder it would go into. Their link never steps from what
//    they control to what they do not.
// 3. Running as root, the file itself only through root's own links.
// A refusal names the link and says why; nothing is read or written then.

namespace inkrun::platform::posix {

// A link met on a walk, and where it stands.
struct LinkMet {
    const struct stat& link;
    const struct stat& folder;  // the folder holding it
    const std::string& shown;   // its path for a message: "it" for the path itself
    bool toTheFile;             // the last name of a path to a file (a read's or a write's)
};

// A user other than root and us who controls a followed link: what it leads to must be theirs.
struct Steerer {
    uid_t user;
    bool ownsTheLink;   // else they own the folder the link stands in
    std::string shown;  // the link, for the message
};

// Why the link must not be followed (rules 1 and 3); nullopt when it may be, leaving `steerers`
// with the users whose things it must lead to (rule 2).
std::optional<std::string> refusalToFollow(const LinkMet& met, const std::string& action,
                                           std::vector<Steerer>& steerers);

// What a followed link led to, checked against one who steered it there (rule 2): a folder, a
// file, or (`absent`) the folder a new file would go into. nullopt when it is theirs.
std::optional<std::string> refusalOfTarget(const Steerer& steerer, const struct stat& reached, bool absent);

}  // namespace inkrun::platform::posix
