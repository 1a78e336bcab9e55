#include "platform/shell_open.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace inkrun::platform {

namespace {

// ShellExecute's answers.
constexpr int fileNotFound = 2;
constexpr int pathNotFound = 3;
constexpr int noAssociation = 31;
constexpr int accepted = 33;
constexpr int otherFailure = 0;

#if defined(__APPLE__)
constexpr const char* openerName = "open";
#else
constexpr const char* openerName = "xdg-open";
#endif

// Only absolute PATH entries: an empty or relative one would run whatever "xdg-open" lies in
// the current directory, which may well be the user's drawing folder.
std::string findOnPath(const char* name) {
    std::string path;
    if (const char* value = std::getenv("PATH")) {
        path = value;
    } else {
        path = "/usr/local/bin:/usr/bin:/bin";
    }
    std::string_view rest = path;
    while (true) {
        const std::size_t colon = rest.find(':');
        const std::string_view entry = rest.substr(0, colon);
        if (!entry.empty() && entry.front() == '/') {
            std::string candidate(entry);
            if (candidate.back() != '/') candidate += '/';
            candidate += name;
            struct stat info {};
            if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                ::access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
        }
        if (colon == std::string_view::npos) return {};
        rest.remove_prefix(colon + 1);
    }
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// 0 when the document is there; else ShellExecute's code for why not.
int checkExists(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return 0;
    const int error = errno;
    if (error == ENOTDIR) return pathNotFound;
    if (error != ENOENT) return otherFailure;
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty()) return fileNotFound;  // a bare name is looked up in the current directory, which exists
    return isDirectory(parent.string()) ? fileNotFound : pathNotFound;
}

// An opener leaves the argument to its own parser: "-x.dwg" would be an option and "mailto:x"
// a URL. An absolute path is neither.
std::string absolute(const std::string& path) {
    if (!path.empty() && path.front() == '/') return path;
    std::error_code ignored;
    std::filesystem::path full = std::filesystem::absolute(path, ignored);
    return full.empty() ? "./" + path : full.string();
}

// xdg-open's exit status in ShellExecute's terms:
//   0 success -> 33 accepted
//   2 the file does not exist -> 2 file not found
//   3 a required tool is missing, 4 the action failed (no handler) -> 31 no program for it
//   anything else, or killed -> 0
// macOS's open fails with 1, which lands on 0.
int mapExitStatus(int status) {
    if (!WIFEXITED(status)) return otherFailure;
    switch (WEXITSTATUS(status)) {
    case 0: return accepted;
    case 2: return fileNotFound;
    case 3:
    case 4: return noAssociation;
    default: return otherFailure;
    }
}

class SpawnSetup {
public:
    SpawnSetup() {
        ok_ = posix_spawn_file_actions_init(&actions_) == 0;
        if (!ok_) return;
        ok_ = posix_spawnattr_init(&attributes_) == 0;
        if (!ok_) {
            posix_spawn_file_actions_destroy(&actions_);
            return;
        }
        ok_ = posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0;
        // The application it starts should not inherit our blocked or ignored signals.
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int signal : {SIGPIPE, SIGCHLD, SIGHUP, SIGINT, SIGQUIT, SIGTERM}) sigaddset(&defaults, signal);
        ok_ = ok_ && posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
              posix_spawnattr_setsigdefault(&attributes_, &defaults) == 0 &&
              posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
        initialised_ = true;
    }
    ~SpawnSetup() {
        if (!initialised_) return;
        posix_spawnattr_destroy(&attributes_);
        posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    bool ok() const { return ok_; }
    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_{};
    posix_spawnattr_t attributes_{};
    bool ok_ = false;
    bool initialised_ = false;
};

// Starts the opener on `path`; 0 with `child` set, or the code for why it could not start.
int startOpener(const std::string& path, pid_t& child) {
    if (const int missing = checkExists(path)) return missing;
    const std::string opener = findOnPath(openerName);
    if (opener.empty()) return noAssociation;

    SpawnSetup setup;
    if (!setup.ok()) return noAssociation;
    std::string argument = absolute(path);
    std::vector<char*> arguments{const_cast<char*>(opener.c_str()), argument.data(), nullptr};
    if (posix_spawn(&child, opener.c_str(), setup.actions(), setup.attributes(), arguments.data(), environ) != 0)
        return noAssociation;
    return 0;
}

}  // namespace

int startOpeningDocument(const std::string& path, std::function<void(int result)> whenEnded) noexcept {
    try {
        pid_t child = -1;
        if (const int refused = startOpener(path, child)) return refused;
        // The opener may stay as long as the browser it started; its verdict comes when it ends.
        std::thread([child, whenEnded = std::move(whenEnded)] {
            int status = 0;
            pid_t done = -1;
            while ((done = ::waitpid(child, &status, 0)) < 0 && errno == EINTR) {
            }
            if (done != child) return;  // reaped elsewhere: its verdict is lost
            if (whenEnded) whenEnded(mapExitStatus(status));
        }).detach();
        return accepted;
    } catch (...) {
        return otherFailure;
    }
}

}  // namespace inkrun::platform
