#pragma once

#ifndef _WIN32
#include <functional>
#include <string>
#include <sys/types.h>

namespace inkrun::test {

// Users for the tests of links that one user plants for another; they need no name.
inline constexpr uid_t kPlanter = 65534;  // nobody
inline constexpr uid_t kVictim = 4242;

// Runs `step` in a child process that is `uid` (and its group) alone, and returns what it
// returned, or "threw: " and the exception's text. Only root can be another user.
std::string asUser(uid_t uid, const std::function<std::string()>& step);

// A symbolic link at `link` to `text`, owned by `owner`, as that user would have planted it.
void plant(const std::string& text, const std::string& link, uid_t owner);

// Makes a file or folder `owner`'s, with the mode given.
void give(const std::string& path, uid_t owner, mode_t mode);

}  // namespace inkrun::test
#endif
