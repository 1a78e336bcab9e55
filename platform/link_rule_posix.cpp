#include "platform/link_rule_posix.h"

#include <unistd.h>

namespace inkrun::platform::posix {

namespace {

std::string user(uid_t uid) { return "uid " + std::to_string(uid); }

}  // namespace

std::optional<std::string> refusalToFollow(const LinkMet& met, const std::string& action,
                                           std::vector<Steerer>& steerers) {
    const uid_t us = ::geteuid();
    const uid_t owner = met.link.st_uid;
    const std::string link = met.shown + " is a symbolic link owned by another user (" + user(owner) + ")";
    const bool othersMayPlant = (met.folder.st_mode & (S_IWOTH | S_ISVTX)) != 0;
    if (othersMayPlant && owner != us && owner != met.folder.st_uid)
        return link + " in a folder that others may write to; the program does not follow it";
    if (met.toTheFile && us == 0 && owner != 0)
        return link + "; running as root, the program does not " + action + " through it";
    steerers.clear();
    if (owner != 0 && owner != us) steerers.push_back({owner, true, met.shown});
    const uid_t folderOwner = met.folder.st_uid;
    if (folderOwner != 0 && folderOwner != us && folderOwner != owner)
        steerers.push_back({folderOwner, false, met.shown});
    return std::nullopt;
}

std::optional<std::string> refusalOfTarget(const Steerer& steerer, const struct stat& reached, bool absent) {
    if (reached.st_uid == steerer.user) return std::nullopt;
    const std::string what = absent ? "a new file in a folder" : S_ISDIR(reached.st_mode) ? "a folder" : "a file";
    return steerer.shown + " is a symbolic link " + (steerer.ownsTheLink ? "owned by" : "in a folder of") +
           " another user (" + user(steerer.user) + ") that leads to " + what + " of " + user(reached.st_uid) +
           "; the program does not follow it";
}

}  // namespace inkrun::platform::posix
