#pragma once

#include <cstddef>
#include <string>

// Which file a write would replace on Windows, and whether it may.

namespace inkrun::platform::win32 {

// Where a write to `target` lands: the final path of what its symbolic link points to, in the
// form GetFinalPathNameByHandleW gives ("\\?\C:\..."), or the target itself when it is no link
// or cannot be resolved. A write goes through a link rather than replacing it with a file.
std::string writeDestination(const std::string& target);

// Why the existing file at `destination` must not be replaced; empty when it may be, or when
// there is none.
std::string refusalToReplace(const std::wstring& destination);

// Where the name part of a path starts: after its last separator, or after a bare drive ("C:").
std::size_t nameStart(const std::string& path);

}  // namespace inkrun::platform::win32
