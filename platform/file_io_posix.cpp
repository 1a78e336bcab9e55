#include "platform/file_io_backend.h"

#include "platform/file_error.h"
#include "platform/file_io_testing.h"
#include "platform/folder.h"
#include "platform/path_walk_posix.h"
#include "platform/posix_files.h"
#include "platform/temporary_file_posix.h"
#include "platform/write_target_posix.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/sysinfo.h>
#endif

// The POSIX half of the file layer: descriptors, and a replacement through a temporary file
// that is synced, given the old file's owner and mode, and renamed over it.

namespace inkrun::platform {

namespace detail {

namespace {

[[noreturn]] void fail(const char* action, const std::string& path, int errorNumber) {
    throw FileError(action, path, systemReason(errorNumber));
}

int syncFile(int fd) {
    while (::fsync(fd) != 0) {
        if (errno != EINTR) return errno;
    }
    return 0;
}

mode_t currentUmask() {
#ifdef __linux__
    // Reading it avoids umask()'s set-and-restore, which races with other threads creating files.
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned int mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found) return static_cast<mode_t>(mask);
    }
#endif
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

std::atomic<int> directorySyncFault{0};

// The new content in a temporary beside the file it replaces, renamed over it at commit; all of
// it in the folder the walk to the file ended in, held open from start to end.
class ReplaceThroughTemporary final : public Replacement {
public:
    ReplaceThroughTemporary(const std::string& target, const posix::WalkedEntry& entry)
        : target_(target), name_(entry.name), directory_(posix::openForReading(entry.folder.get())) {
        if (!directory_.valid()) fail("write", target_, errno);
        posix::removeStaleTemporaries(directory_.get());
        posix::Temporary temporary;
        if (const int error = posix::createTemporary(directory_.get(), temporary)) fail("write", target_, error);
        file_ = NativeFile(temporary.fd);
        temporaryName_ = std::move(temporary.name);
    }

    ~ReplaceThroughTemporary() override {
        file_.close();
        if (!temporaryName_.empty()) ::unlinkat(directory_.get(), temporaryName_.c_str(), 0);
    }

    void write(std::span<const std::string_view> pieces) override {
        writeAllPieces(file_.get(), pieces, target_);
        for (const std::string_view piece : pieces) written_ += piece.size();
        startWritingBack();
    }

    void commit() override {
        // Looked at again: the file may have changed while a long script was written.
        std::optional<struct stat> existing;
        struct stat now {};
        if (::fstatat(directory_.get(), name_.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISLNK(now.st_mode))
                throw FileError("write", target_, "the file was replaced by another while it was written");
            if (const auto why = posix::refusalToReplace(directory_.get(), name_, now))
                throw FileError("write", target_, *why);
            existing = now;
        } else if (errno != ENOENT) {
            fail("write", target_, errno);
        }

        mode_t mode = 0666 & ~currentUmask();
        if (existing) {
            // Where the process may: a file rebuilt by root stays its owner's, else keeps its group.
            const struct stat& old = *existing;
            [[maybe_unused]] const bool kept = ::fchown(file_.get(), old.st_uid, old.st_gid) == 0 ||
                                               ::fchown(file_.get(), static_cast<uid_t>(-1), old.st_gid) == 0;
            mode = old.st_mode & 0777;  // a script is never to carry setuid, setgid or sticky
        }
        int error = ::fchmod(file_.get(), mode) != 0 ? errno : 0;
        if (!error) error = syncFile(file_.get());
        if (!error) {
            posix::Temporary temporary{file_.get(), temporaryName_};
            error = posix::nameTemporary(directory_.get(), temporary);
            temporaryName_ = std::move(temporary.name);
        }
        if (!error && ::renameat(directory_.get(), temporaryName_.c_str(), directory_.get(), name_.c_str()) != 0)
            error = errno;
        if (error) fail("write", target_, error);
        temporaryName_.clear();
        // Closed only now: the lock it holds keeps the named temporary from being taken for stale.
        file_.close();

        // Make the rename itself durable. Some file systems cannot sync a directory (EINVAL).
        const int fault = directorySyncFault.load();
        error = fault ? fault : syncFile(directory_.get());
        if (error && error != EINVAL)
            throw WrittenWithWarning(target_, "Wrote " + target_ +
                                                  ", but could not confirm that it is safely on disk: "
                                                  "syncing its directory failed (" +
                                                  systemReason(error) + ")");
    }

private:
    // Hands what is written so far to the disk in the background, a few megabytes at a time: the
    // disk then works while the rest is written, and the sync at the end waits only for the tail.
    void startWritingBack() noexcept {
#ifdef SYNC_FILE_RANGE_WRITE
        constexpr std::uint64_t kStep = 8 << 20;
        if (written_ - handedToDisk_ < kStep) return;
        ::sync_file_range(file_.get(), static_cast<off_t>(handedToDisk_), static_cast<off_t>(written_ - handedToDisk_),
                          SYNC_FILE_RANGE_WRITE);
        handedToDisk_ = written_;
#endif
    }

    std::string target_;
    std::string name_;      // the file's name in directory_: the target's, or where its links lead
    NativeFile directory_;  // the folder the walk to the target ended in
    NativeFile file_;
    std::string temporaryName_;  // empty while the temporary has no name, and once it is renamed
    std::uint64_t written_ = 0;
    std::uint64_t handedToDisk_ = 0;
};

// The FIFO or device the walk found, opened from its folder; refused if the name has come to
// mean another file meanwhile.
NativeFile openStream(const posix::WalkedEntry& entry, const std::string& target) {
    // O_NONBLOCK so that a FIFO nobody reads fails at once instead of hanging the job.
    const int follow = entry.systemLink ? 0 : O_NOFOLLOW;
    NativeFile stream(
        ::openat(entry.folder.get(), entry.name.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | follow));
    if (!stream.valid()) throw FileError("write", target, posix::streamOpenFailure(entry.info->st_mode, errno));
    struct stat opened {};
    if (::fstat(stream.get(), &opened) != 0) fail("write", target, errno);
    if (opened.st_dev != entry.info->st_dev || opened.st_ino != entry.info->st_ino)
        throw FileError("write", target, "the file was replaced by another while it was opened");
    const int flags = ::fcntl(stream.get(), F_GETFL);
    if (flags >= 0) ::fcntl(stream.get(), F_SETFL, flags & ~O_NONBLOCK);
    return stream;
}

// A copy of a descriptor of ours, so that closing it at the end closes nothing of the caller's.
NativeFile copyOf(int descriptor, const std::string& target) {
    NativeFile copy(::fcntl(descriptor, F_DUPFD_CLOEXEC, 3));
    if (!copy.valid()) fail("write", target, errno);
    return copy;
}

std::unique_ptr<Replacement> replacementFor(posix::WalkedEntry entry, const std::string& target, StreamTarget streams) {
    switch (posix::examineWriteTarget(entry, target, streams)) {
    case posix::WriteInto::Descriptor: return streamInto(copyOf(*entry.descriptor, target), target, entry.descriptor);
    case posix::WriteInto::Stream: return streamInto(openStream(entry, target), target);
    case posix::WriteInto::Replacement: break;
    }
    return std::make_unique<ReplaceThroughTemporary>(target, entry);
}

}  // namespace

unsigned long closeHandle(NativeHandle handle) noexcept {
    // After EINTR the descriptor is gone on Linux: closing again could close another's.
    return ::close(handle) == 0 || errno == EINTR ? 0 : static_cast<unsigned long>(errno);
}

std::string reasonOf(unsigned long errorCode) { return systemReason(static_cast<int>(errorCode)); }

namespace {

// Opens the ordinary file a walk ended at, from its folder. `notOrdinary` says why what stands
// there is none, when it is none.
template <typename NotOrdinary>
FileToRead openWalked(const posix::WalkedEntry& entry, const std::string& path, NotOrdinary notOrdinary) {
    if (entry.name.empty() || !entry.info || !S_ISREG(entry.info->st_mode)) notOrdinary();
    // O_NONBLOCK so that a FIFO put in its place meanwhile opens at once instead of waiting.
    const int follow = entry.systemLink ? 0 : O_NOFOLLOW;
    FileToRead opened{NativeFile(
        ::openat(entry.folder.get(), entry.name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | follow))};
    if (!opened.file.valid()) {
        if (errno == ELOOP) throw FileError("read", path, "it was replaced by a symbolic link while it was opened");
        fail("read", path, errno);
    }
    struct stat info {};
    if (::fstat(opened.file.get(), &info) != 0) fail("read", path, errno);
    if (!S_ISREG(info.st_mode)) notOrdinary();
    const int flags = ::fcntl(opened.file.get(), F_GETFL);
    if (flags >= 0) ::fcntl(opened.file.get(), F_SETFL, flags & ~O_NONBLOCK);
    opened.size = static_cast<std::uint64_t>(info.st_size);
    return opened;
}

}  // namespace

FileToRead openToRead(const std::string& path) {
    const posix::WalkedEntry entry = posix::walkToEntry(path, path, "read");
    return openWalked(entry, path, [&] {
        if (!entry.name.empty() && !entry.info) fail("read", path, ENOENT);
        throw FileError("read", path, "not an ordinary file");
    });
}

FileToRead openToRead(const Folder& folder, const std::string& name, const std::string& path, HiddenFiles hidden) {
    // What the file is, in words, once the open has found it is no ordinary file.
    const auto notOrdinary = [&] {
        const auto why = posix::whyNotOrdinaryAt(folder.handle(), name.c_str());
        throw NotAnOrdinaryFile("read", path, why.value_or("it is not an ordinary file"));
    };
    if (hidden == HiddenFiles::Refused && name.starts_with('.'))
        throw NotAnOrdinaryFile("read", path, posix::kHiddenFileReason);
    posix::WalkedEntry entry;
    try {
        entry = posix::walkToEntry(name, path, "read", {folder.handle(), folder.resolvedPath()});
    } catch (const FileError&) {
        // A link that loops fails the walk itself.
        const auto why = posix::whyNotOrdinaryAt(folder.handle(), name.c_str());
        if (why && why->find("loops") != std::string::npos) throw NotAnOrdinaryFile("read", path, *why);
        throw;
    }
    return openWalked(entry, path, notOrdinary);
}

std::size_t readSome(NativeHandle file, char* into, std::size_t size, const std::string& path) {
    for (;;) {
        const ssize_t got = ::read(file, into, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) fail("read", path, errno);
    }
}

std::uint64_t memoryLimit() noexcept {
    std::uint64_t limit = UINT64_MAX;
#ifdef __linux__
    struct sysinfo memory {};
    if (::sysinfo(&memory) == 0)
        limit = (static_cast<std::uint64_t>(memory.totalram) + memory.totalswap) * memory.mem_unit;
#endif
    for (const int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        rlimit set{};
        if (::getrlimit(resource, &set) == 0 && set.rlim_cur != RLIM_INFINITY)
            limit = std::min<std::uint64_t>(limit, set.rlim_cur);
    }
    return limit;
}

void writeAllPieces(NativeHandle file, std::span<const std::string_view> pieces, const std::string& target) {
    // As many pieces a call as the system takes; a call that writes less goes on where it stopped.
    iovec vectors[IOV_MAX];
    std::size_t next = 0;
    std::size_t skip = 0;  // bytes of pieces[next] already written
    while (next < pieces.size()) {
        std::size_t count = 0;
        for (std::size_t i = next; i < pieces.size() && count < IOV_MAX; ++i) {
            const std::size_t from = i == next ? skip : 0;
            if (pieces[i].size() == from) continue;
            vectors[count++] = {const_cast<char*>(pieces[i].data() + from), pieces[i].size() - from};
        }
        if (count == 0) return;
        const ssize_t written = ::writev(file, vectors, static_cast<int>(count));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) fail("write", target, errno);
        if (written == 0) fail("write", target, EIO);
        for (auto left = static_cast<std::size_t>(written); left > 0;) {
            const std::size_t rest = pieces[next].size() - skip;
            if (left < rest) {
                skip += left;
                break;
            }
            left -= rest;
            ++next;
            skip = 0;
        }
        while (next < pieces.size() && pieces[next].size() == skip) {
            ++next;
            skip = 0;
        }
    }
}

std::unique_ptr<Replacement> openReplacement(const std::string& target, StreamTarget streams) {
    if (const auto descriptor = openDescriptorNamed(target)) {
        if (streams == StreamTarget::Refuse)
            throw FileError("write", target, "it names a file the program already has open, not a file to replace");
        return streamInto(copyOf(*descriptor, target), target, descriptor);
    }
    return replacementFor(posix::walkToEntry(target, target, "write"), target, streams);
}

std::unique_ptr<Replacement> openReplacement(const Folder& folder, const std::string& name, const std::string& target,
                                             StreamTarget streams) {
    return replacementFor(posix::walkToEntry(name, target, "write", {folder.handle(), folder.resolvedPath()}), target,
                          streams);
}

}  // namespace detail

std::optional<int> openDescriptorNamed(const std::string& path) {
    if (path == "/dev/stdin") return 0;
    if (path == "/dev/stdout") return 1;
    if (path == "/dev/stderr") return 2;
    std::string_view number;
    for (const std::string& folder :
         {std::string("/dev/fd/"), std::string("/proc/self/fd/"), std::string("/proc/thread-self/fd/"),
          "/proc/" + std::to_string(::getpid()) + "/fd/"})
        if (path.starts_with(folder)) number = std::string_view(path).substr(folder.size());
    int descriptor = -1;
    if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), descriptor);
    if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
    return descriptor;
}

const unsigned long detail::kNameInUse = EEXIST;

unsigned long detail::renameEntry(const Folder& folder, const std::string& from, const std::string& to) noexcept {
    const int fd = folder.handle();
#ifdef RENAME_NOREPLACE
    if (::renameat2(fd, from.c_str(), fd, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return static_cast<unsigned long>(errno);
#endif
    // Without the kernel's test: the name is looked at first.
    struct stat info {};
    if (::fstatat(fd, to.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
    return ::renameat(fd, from.c_str(), fd, to.c_str()) == 0 ? 0 : static_cast<unsigned long>(errno);
}

void allowOpenFiles(std::size_t count) noexcept {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= count) return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? count : std::min<rlim_t>(limit.rlim_max, count);
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

namespace testing {
void failDirectorySyncWith(int errorNumber) noexcept { detail::directorySyncFault = errorNumber; }
}  // namespace testing

}  // namespace inkrun::platform
