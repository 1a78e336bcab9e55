#pragma once

#include "platform/file_io.h"
#include "platform/path_walk_posix.h"

#include <optional>
#include <string>
#include <sys/stat.h>

// Whether a write may go to a walked file, and how.

namespace inkrun::platform::posix {

enum class WriteInto {
    Replacement,  // a temporary beside the file, renamed over it
    Stream,       // a FIFO or character device, written straight into
    Descriptor,   // a descriptor of ours, written as it stands
};

// What a write to the walked entry does. Refuses, with FileError("write", target, reason), what
// must not be written: a folder, a read-only file, anything but a regular file (but a stream
// when allowed), and an open file that only a link in /proc leads to.
WriteInto examineWriteTarget(const WalkedEntry& entry, const std::string& target, StreamTarget streams);

// Why the regular file `info`, `name` in `folder`, must not be replaced; nullopt when it may be.
std::optional<std::string> refusalToReplace(int folder, const std::string& name, const struct stat& info);

// Why a stream that is there cannot be opened for writing: errno from open().
std::string streamOpenFailure(mode_t kind, int errorNumber);

}  // namespace inkrun::platform::posix
