#pragma once

#include <string>

namespace inkrun::setup {

// A setup file is the editor's text and nothing else, in the Windows-1252 code page; line ends
// are kept exactly as they stand. Every byte value reads and writes back unchanged.

// The whole file as UTF-8. Throws platform::FileError.
std::string readSetupFile(const std::string& path);

// What becomes of a text that holds a character the code page cannot.
enum class UnencodableText {
    Refuse,      // a save the person asked for: they are told which character, nothing is written
    KeepAsUtf8,  // a setup kept while the window closes, when nobody can be asked: the whole text
                 // as UTF-8 behind a byte-order mark, which text editors read, rather than lost
};

// Replaces the file atomically: a failure leaves any earlier file whole. With Refuse, a character
// the code page cannot hold throws platform::FileError naming it and the file, before anything
// is written.
void writeSetupFile(const std::string& path, const std::string& text,
                    UnencodableText unencodable = UnencodableText::Refuse);

}  // namespace inkrun::setup
