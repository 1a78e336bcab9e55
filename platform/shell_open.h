#pragma once

#include <string>

namespace inkrun::platform {

// Hands a document to the desktop's "open" action and returns a result in the Windows shell's
// terms: above 32 when it was accepted; 2 file not found, 3 path not found, 31 no program for
// it, 0 anything else. On Windows ShellExecuteA itself; elsewhere xdg-open (open on macOS),
// found on PATH.
int openDocument(const std::string& path) noexcept;

}  // namespace inkrun::platform
