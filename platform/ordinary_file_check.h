#pragma once

#include <string>

#include "platform/file_lookup.h"

namespace inkrun::platform {

// A file a run nobody watches relies on: where findOrdinaryFile finds no ordinary file called
// `name` (any letter case) in `directory` but something else stands under that name (a
// directory, a FIFO, a device, a dangling or looping link), throws FileError("read", its path,
// why) rather than letting it count as missing. Nothing there, or an ordinary file: returns.
void requireOrdinaryIfPresent(const std::string& directory, const std::string& name, char separator = kPathSeparator);

}  // namespace inkrun::platform
