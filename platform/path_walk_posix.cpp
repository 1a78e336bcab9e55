#include "platform/path_walk_posix.h"

#include "platform/file_error.h"
#include "platform/file_lookup.h"
#include "platform/link_rule_posix.h"

#include <cerrno>
#include <charconv>
#include <deque>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>
#include <vector>
#ifdef __linux__
#include <sys/vfs.h>
#endif

namespace inkrun::platform::posix {

namespace {

constexpr int kMaxLinkHops = 40;  // as the kernel's own limit
constexpr long kProcSuperMagic = 0x9fa0;

// One step of a walk: a name to go to, or a check that what a followed link led to belongs to
// the user who steered it.
struct Step {
    std::string name;
    std::optional<Steerer> check;
    bool lastOfPath = false;  // the last name of the path as given
};

// A walk to a folder that found nothing there, or no folder: some callers take that for an answer.
struct Missing {
    int error;
};

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether the folder is this process's own list of open descriptors in /proc.
bool isOwnDescriptorFolder(const struct stat& folder) {
    for (const char* own : {"/proc/self/fd", "/proc/thread-self/fd"}) {
        struct stat info {};
        if (::stat(own, &info) == 0 && sameFile(info, folder)) return true;
    }
    return false;
}

bool onProcFileSystem([[maybe_unused]] int fd) {
#ifdef __linux__
    struct statfs system {};
    return ::fstatfs(fd, &system) == 0 && static_cast<long>(system.f_type) == kProcSuperMagic;
#else
    return false;
#endif
}

std::optional<int> descriptorNumber(std::string_view name) {
    int number = -1;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error != std::errc() || end != name.data() + name.size() || number < 0) return std::nullopt;
    return number;
}

// The text of the link open at `link` (O_PATH | O_NOFOLLOW), however long; false with errno set.
bool readLinkAt(int link, std::string& text) {
    text.assign(256, '\0');
    for (;;) {
        const ssize_t got = ::readlinkat(link, "", text.data(), text.size());
        if (got < 0) return false;
        if (static_cast<std::size_t>(got) < text.size()) {
            text.resize(static_cast<std::size_t>(got));
            return true;
        }
        text.resize(text.size() * 2);
    }
}

class Walk {
public:
    // `shown` is the path that errors name.
    Walk(const std::string& shown, const std::string& action, bool toFile)
        : path_(shown), action_(action), toFile_(toFile) {}

    // From the folder open at `from` (whose resolved path is `fromPath`), else from the root
    // or the current directory as `text` says.
    void start(std::string_view text, int from = -1, const std::string& fromPath = {}) {
        if (text.empty()) fail(ENOENT);
        if (from >= 0) {
            here_ = detail::NativeFile(::fcntl(from, F_DUPFD_CLOEXEC, 0));
            real_ = fromPath;
        } else if (text.front() == '/') {
            here_ = detail::NativeFile(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
            real_ = "/";
        } else {
            here_ = detail::NativeFile(::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC));
            try {
                real_ = currentDirectory();
            } catch (const FileError&) {
                real_ = ".";  // for messages only
            }
        }
        if (!here_.valid() || ::fstat(here_.get(), &hereInfo_) != 0) fail(errno);
        prepend(text, {}, true);
    }

    // Goes through every step; returns at the file when walking to one.
    std::optional<WalkedEntry> run() {
        while (!rest_.empty()) {
            Step step = std::move(rest_.front());
            rest_.pop_front();
            if (step.check) {
                requireTarget(*step.check, hereInfo_, false);
                continue;
            }
            const bool last = toFile_ && !namesFollow();
            if (step.name == "." || step.name == "..") {
                if (step.name == "..") up();
                if (last) return endAt({}, hereInfo_, false);
                continue;
            }
            detail::NativeFile node(::openat(here_.get(), step.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
            struct stat info {};
            if (!node.valid()) {
                if (errno == ENOENT && last) return endAt(step.name, hereInfo_, true);
                fail(errno);
            }
            if (::fstat(node.get(), &info) != 0) fail(errno);
            if (S_ISLNK(info.st_mode)) {
                if (auto end = follow(step, std::move(node), info, last)) return end;
                continue;
            }
            if (last) return endAt(step.name, info, false);
            if (!S_ISDIR(info.st_mode)) fail(ENOTDIR);
            enter(std::move(node), info, childOf(step.name));
        }
        return std::nullopt;
    }

    detail::NativeFile& folder() { return here_; }
    const std::string& resolved() const { return real_; }
    [[noreturn]] void fail(int error) const {
        if (!toFile_ && (error == ENOENT || error == ENOTDIR)) throw Missing{error};
        throw FileError(action_, path_, systemReason(error));
    }

private:
    // The names of `text` before the rest of the walk, then the checks of who steered there.
    void prepend(std::string_view text, const std::vector<Steerer>& steerers, bool isPath) {
        std::vector<Step> front;
        for (std::size_t start = 0; start <= text.size();) {
            const std::size_t slash = std::min(text.find('/', start), text.size());
            const std::string_view name = text.substr(start, slash - start);
            if (!name.empty() && name != ".") front.push_back({std::string(name), std::nullopt});
            start = slash + 1;
        }
        // "jobs/" and "jobs/." name a folder, as the kernel reads them.
        if (text.ends_with('/') || text.ends_with("/.") || text == ".") front.push_back({".", std::nullopt});
        if (isPath && !front.empty()) front.back().lastOfPath = true;
        for (const Steerer& steerer : steerers) front.push_back({{}, steerer});
        rest_.insert(rest_.begin(), front.begin(), front.end());
    }

    bool namesFollow() const {
        for (const Step& step : rest_)
            if (!step.check) return true;
        return false;
    }

    std::string childOf(const std::string& name) const { return real_ == "/" ? "/" + name : real_ + "/" + name; }

    void enter(detail::NativeFile node, const struct stat& info, std::string real) {
        here_ = std::move(node);
        hereInfo_ = info;
        real_ = std::move(real);
    }

    // ".." of a folder that holds no link is its parent by name too.
    void up() {
        detail::NativeFile parent(::openat(here_.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat info {};
        if (!parent.valid() || ::fstat(parent.get(), &info) != 0) fail(errno);
        const auto slash = real_.rfind('/');
        enter(std::move(parent), info, slash == 0 || slash == std::string::npos ? "/" : real_.substr(0, slash));
    }

    std::optional<WalkedEntry> follow(const Step& step, detail::NativeFile link, const struct stat& info, bool last) {
        if (++hops_ > kMaxLinkHops) fail(ELOOP);
        const std::string shown = step.lastOfPath && !followedAny_ ? "it" : childOf(step.name);
        followedAny_ = true;
        std::vector<Steerer> steerers;
        if (const auto why = refusalToFollow({info, hereInfo_, shown, last}, action_, steerers))
            throw FileError(action_, path_, *why);
        if (onProcFileSystem(here_.get())) return followSystemLink(step.name, steerers, last, shown);
        std::string text;
        if (!readLinkAt(link.get(), text)) fail(errno);
        if (text.empty()) fail(ENOENT);
        if (text.front() == '/') {
            detail::NativeFile root(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
            struct stat rootInfo {};
            if (!root.valid() || ::fstat(root.get(), &rootInfo) != 0) fail(errno);
            enter(std::move(root), rootInfo, "/");
        }
        prepend(text, steerers, false);
        return std::nullopt;
    }

    // The links of /proc lead to open files, pipes and a process's folders that no text names:
    // the kernel follows them, from the folder held, and the rule judges what it reached.
    std::optional<WalkedEntry> followSystemLink(const std::string& name, const std::vector<Steerer>& steerers,
                                                bool last, const std::string& shown) {
        if (last && isOwnDescriptorFolder(hereInfo_))
            if (const auto number = descriptorNumber(name)) {
                struct stat info {};
                if (::fstat(*number, &info) != 0) fail(errno);
                WalkedEntry end = endAt(name, info, false);
                end.systemLink = true;
                end.descriptor = number;
                return end;
            }
        detail::NativeFile target(::openat(here_.get(), name.c_str(), O_PATH | O_CLOEXEC));
        struct stat info {};
        if (!target.valid() || ::fstat(target.get(), &info) != 0) fail(errno);
        for (const Steerer& steerer : steerers) requireTarget(steerer, info, false);
        if (last && !S_ISDIR(info.st_mode)) {
            WalkedEntry end = endAt(name, info, false);
            end.systemLink = true;
            return end;
        }
        if (!S_ISDIR(info.st_mode)) fail(ENOTDIR);
        enter(std::move(target), info, shown == "it" ? path_ : childOf(name));
        if (last) return endAt({}, hereInfo_, false);
        return std::nullopt;
    }

    void requireTarget(const Steerer& steerer, const struct stat& reached, bool absent) const {
        if (const auto why = refusalOfTarget(steerer, reached, absent)) throw FileError(action_, path_, *why);
    }

    // The walk's end: `name` in the folder held (none when the path names the folder), after
    // the checks left for what the last link led to.
    WalkedEntry endAt(const std::string& name, const struct stat& info, bool absent) {
        for (const Step& step : rest_)
            if (step.check) requireTarget(*step.check, info, absent);
        WalkedEntry end;
        end.name = name;
        if (!absent) end.info = info;
        end.folder = std::move(here_);
        return end;
    }

    const std::string& path_;
    const std::string& action_;
    const bool toFile_;
    detail::NativeFile here_;  // the folder reached so far (O_PATH)
    struct stat hereInfo_ {};
    std::string real_;  // its path, links resolved
    std::deque<Step> rest_;
    int hops_ = 0;
    bool followedAny_ = false;
};

}  // namespace

WalkedEntry walkToEntry(std::string_view text, const std::string& shown, const std::string& action,
                        const WalkStart& from) {
    Walk walk(shown, action, true);
    walk.start(text, from.folder, from.path);
    return *walk.run();
}

detail::NativeFile walkToFolder(std::string_view text, const std::string& shown, const std::string& action,
                                std::string* resolved, const WalkStart& from, bool missingGivesNothing) {
    Walk walk(shown, action, false);
    try {
        walk.start(text, from.folder, from.path);
        walk.run();
    } catch (const Missing& missing) {
        if (missingGivesNothing) return {};
        throw FileError(action, shown, systemReason(missing.error));
    }
    detail::NativeFile folder = openForReading(walk.folder().get());
    if (!folder.valid()) walk.fail(errno);
    if (resolved) *resolved = walk.resolved();
    return folder;
}

detail::NativeFile openForReading(int folder) {
    return detail::NativeFile(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace inkrun::platform::posix
