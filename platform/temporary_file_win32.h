#pragma once

#include <string>

#include "platform/file_io_backend.h"

// The Windows temporaries of the rule in temporary_name.h: held from birth to rename by a handle
// that shares nothing, so that no one else can open a live one.

namespace inkrun::platform::win32 {

// A new temporary in `directory` (a path that ends in a separator, a bare drive "C:", or empty
// for the current directory), open for writing. Returns 0 or a GetLastError() value.
unsigned long createTemporary(const std::string& directory, detail::NativeFile& file, std::string& name);

// Removes the stale temporaries of the directory. Never throws; a failure leaves them.
void removeStaleTemporaries(const std::string& directory) noexcept;

}  // namespace inkrun::platform::win32
