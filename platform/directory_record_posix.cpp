#include "platform/directory_record_posix.h"

#include "platform/file_io_testing.h"
#include "platform/file_lookup.h"
#include "platform/posix_files.h"
#include "platform/temporary_name.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace inkrun::platform::posix {

namespace {

// The directory's identity and the times of its last change; any entry added, removed or
// renamed sets both times to the present.
struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const Stamp& other) const {
        return device == other.device && inode == other.inode && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec &&
               changed.tv_nsec == other.changed.tv_nsec;
    }
};

// What a read found: the temporaries, and a fingerprint of each ordinary file's name that
// ignores case.
struct Record {
    Stamp stamp;
    std::vector<std::string> temporaries;
    std::vector<std::uint64_t> fingerprints;  // caseBlindFingerprint of each ordinary file
    // And of each symbolic link, whatever it led to: what a link leads to can change with no
    // change to this directory's stamps (its target made, removed or replaced elsewhere).
    std::vector<std::uint64_t> links;
};

std::atomic<std::uint64_t> reads{0};
std::mutex recordLock;
std::optional<Record> lastRecord;  // one directory's: a build writes where it listed

bool isLinkEntry(int directoryFd, const dirent* entry) {
#ifdef DT_LNK
    if (entry->d_type != DT_UNKNOWN) return entry->d_type == DT_LNK;
#endif
    struct stat info {};
    return ::fstatat(directoryFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode);
}

bool stampOf(int directoryFd, Stamp& stamp) {
    struct stat info {};
    if (::fstat(directoryFd, &info) != 0) return false;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.modified = info.st_mtim;
    stamp.changed = info.st_ctim;
    return true;
}

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// Whether a later change is sure to leave another stamp. A change stamps the directory with the
// present as the kernel's clock has it (it ticks every few milliseconds) and as the file system
// stores it (some keep whole seconds, FAT even seconds). A stamp older than that grain when the
// read began cannot come back from a change made after it.
bool settled(const Stamp& stamp, const timespec& readStart) {
    const bool fractions = stamp.modified.tv_nsec != 0 || stamp.changed.tv_nsec != 0;
    const std::int64_t grain = fractions ? 20'000'000 : 2'000'000'000;
    return nanoseconds(readStart) - nanoseconds(stamp.modified) > grain;
}

// The record, if it is this directory's and the directory has not changed since; call under the lock.
const Record* standingRecord(int directoryFd) {
    Stamp now;
    if (!lastRecord || !stampOf(directoryFd, now) || !(now == lastRecord->stamp)) return nullptr;
    return &*lastRecord;
}

}  // namespace

int readDirectory(int directoryFd, const std::function<void(std::string_view)>& ordinary,
                  std::vector<std::string>* temporaries) {
    ++reads;
    timespec readStart{};
    ::clock_gettime(CLOCK_REALTIME, &readStart);
    Record found;
    const bool stamped = stampOf(directoryFd, found.stamp);

    const int error = posix::visitEntries(directoryFd, [&](int, const dirent* entry) {
        const std::string_view name(entry->d_name);
        if (name.front() == '.') {
            if (isTemporaryName(name)) found.temporaries.emplace_back(name);
            return;
        }
        if (isLinkEntry(directoryFd, entry)) found.links.push_back(caseBlindFingerprint(name));
        if (!isRegularEntry(directoryFd, entry)) return;
        found.fingerprints.push_back(caseBlindFingerprint(name));
        ordinary(name);
    });
    if (error != 0) return error;
    if (temporaries) *temporaries = found.temporaries;
    if (stamped && settled(found.stamp, readStart)) {
        const std::lock_guard lock(recordLock);
        lastRecord = std::move(found);
    }
    return 0;
}

std::optional<std::vector<std::string>> recordedTemporaries(int directoryFd) {
    const std::lock_guard lock(recordLock);
    const Record* record = standingRecord(directoryFd);
    if (!record) return std::nullopt;
    return record->temporaries;
}

std::optional<std::vector<std::string>> recordedCaseVariants(int directoryFd, const std::string& name) {
    const std::lock_guard lock(recordLock);
    const Record* record = standingRecord(directoryFd);
    if (!record) return std::nullopt;
    const std::uint64_t wanted = caseBlindFingerprint(name);
    if (std::find(record->links.begin(), record->links.end(), wanted) != record->links.end()) return std::nullopt;
    const auto alike = std::count(record->fingerprints.begin(), record->fingerprints.end(), wanted);
    if (alike == 0) return std::vector<std::string>{};
    // One name with that fingerprint: if the exact name is an ordinary file, it is that one. Two
    // or more (names that fold alike, or merely share a fingerprint) need a read.
    struct stat info {};
    if (alike == 1 && ::fstatat(directoryFd, name.c_str(), &info, 0) == 0 && S_ISREG(info.st_mode))
        return std::vector<std::string>{name};
    return std::nullopt;
}

}  // namespace inkrun::platform::posix

namespace inkrun::platform::testing {
std::uint64_t directoryReadsSoFar() noexcept { return posix::reads.load(); }
}  // namespace inkrun::platform::testing
