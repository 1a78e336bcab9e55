#pragma once

#include <string>

namespace inkrun::setup {

// A setup file is the editor's text and nothing else, in the Windows-1252 code page; line ends
// are kept exactly as they stand. Every byte value reads and writes back unchanged.

// The whole file as UTF-8. Throws platform::FileError.
std::string readSetupFile(const std::string& path);

// Replaces the file atomically: a failure leaves any earlier file whole. A character the code
// page cannot hold throws platform::FileError naming it and the file, before anything is written.
void writeSetupFile(const std::string& path, const std::string& text);

}  // namespace inkrun::setup
