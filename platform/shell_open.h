#pragma once

#include <functional>
#include <string>

namespace inkrun::platform {

// Hands a document to the desktop's "open" action without waiting for the program that shows
// it, and answers in the Windows shell's terms: above 32 when it was accepted; 2 file not found,
// 3 path not found, 31 no program for it, 0 anything else.
// What can be told at once is returned at once: on Windows, ShellExecuteA's whole answer;
// elsewhere a missing file or no opener. Elsewhere an opener that starts (xdg-open, open on
// macOS, found on PATH) gives 33 at once, and when it ends, `whenEnded` gets its verdict on
// another thread (33 too for a document it accepted): it may live as long as the browser it
// started. `whenEnded` is never called when the answer was given at once.
int startOpeningDocument(const std::string& path, std::function<void(int result)> whenEnded) noexcept;

}  // namespace inkrun::platform
