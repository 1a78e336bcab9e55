#include "support/as_user.h"

#ifndef _WIN32
#include <exception>
#include <grp.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace inkrun::test {

std::string asUser(uid_t uid, const std::function<std::string()>& step) {
    int pipe[2];
    if (::pipe(pipe) != 0) throw std::runtime_error("no pipe for the child");
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("no child process");
    if (child == 0) {
        ::close(pipe[0]);
        std::string result;
        if (::setgroups(0, nullptr) != 0 || ::setresgid(uid, uid, uid) != 0 || ::setresuid(uid, uid, uid) != 0) {
            result = "threw: could not become uid " + std::to_string(uid);
        } else {
            try {
                result = step();
            } catch (const std::exception& error) {
                result = std::string("threw: ") + error.what();
            }
        }
        for (std::size_t done = 0; done < result.size();) {
            const ssize_t wrote = ::write(pipe[1], result.data() + done, result.size() - done);
            if (wrote <= 0) break;
            done += static_cast<std::size_t>(wrote);
        }
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, static_cast<std::size_t>(got));
    ::close(pipe[0]);
    ::waitpid(child, nullptr, 0);
    return result;
}

void plant(const std::string& text, const std::string& link, uid_t owner) {
    if (::symlink(text.c_str(), link.c_str()) != 0 || ::lchown(link.c_str(), owner, owner) != 0)
        throw std::runtime_error("could not plant " + link);
}

void give(const std::string& path, uid_t owner, mode_t mode) {
    if (::chown(path.c_str(), owner, owner) != 0 || ::chmod(path.c_str(), mode) != 0)
        throw std::runtime_error("could not give " + path + " to uid " + std::to_string(owner));
}

}  // namespace inkrun::test
#endif
