#pragma once

#include "platform/file_io.h"

#include <optional>
#include <string>
#include <sys/stat.h>

namespace inkrun::platform::posix {

// What a write to a path would replace, once its symbolic links are followed.
struct WriteTarget {
    std::string destination;              // the path renamed over: the target or where its links lead
    std::optional<struct stat> existing;  // the file there, when there is one
    std::optional<mode_t> stream;         // the kind of a FIFO or character device, to be written into
};

// Follows the target's links and refuses, with FileError("write", target, reason), what must not
// be written: a read-only file, anything but a regular file (except a stream when allowed), and,
// as root, a path through links the link rule forbids.
WriteTarget examineWriteTarget(const std::string& target, StreamTarget streams);

// Why a stream that is there cannot be opened for writing: errno from open().
std::string streamOpenFailure(mode_t kind, int errorNumber);

// Whether this process must treat the file as read-only: it has no write bit at all (root too,
// as Windows refuses a read-only file to everyone), or the system would refuse us the write.
bool isReadOnlyForUs(const std::string& path, const struct stat& info);

std::string directoryOf(const std::string& path);
std::string nameOf(const std::string& path);

}  // namespace inkrun::platform::posix
