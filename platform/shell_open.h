#pragma once

#include <functional>
#include <string>

namespace inkrun::platform {

// Hands a document to the desktop's "open" action and returns a result in the Windows shell's
// terms: above 32 when it was accepted; 2 file not found, 3 path not found, 31 no program for
// it, 0 anything else. On Windows ShellExecuteA itself; elsewhere xdg-open (open on macOS),
// found on PATH.
int openDocument(const std::string& path) noexcept;

// The same without waiting for the opener: what can be told before it starts (a missing file,
// no opener) is returned at once; otherwise 33, and when the opener later ends refusing the
// document, `whenRefused` gets its code on another thread. POSIX only: ShellExecuteA answers
// at once by itself.
int startOpeningDocument(const std::string& path, std::function<void(int result)> whenRefused) noexcept;

}  // namespace inkrun::platform
