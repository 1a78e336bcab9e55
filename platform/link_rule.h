#pragma once

#include <string>

namespace inkrun::platform {

// What a path names: the file read or written, or a directory.
enum class PathEnd { File, Directory };

// Running as root, a file is read or written only through symbolic links that no other user can
// have planted to steer root to a file they could not reach themselves. On every component of
// the path, links met on the way included:
// - the file itself (PathEnd::File): only through links that root owns;
// - a directory on the way: a link in a folder that others may write to (world-writable or
//   sticky) only when root or that folder's owner owns it, as the kernel's protected_symlinks.
// Other users get no rule of ours: the system's permissions already bound what they reach.
// Throws FileError(action, path, reason) naming the link. What cannot be looked at is left to
// the read or write itself to report. Windows has no such rule.
void requireTrustedLinks(const std::string& path, const std::string& action, PathEnd end = PathEnd::File);

}  // namespace inkrun::platform
