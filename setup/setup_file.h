#pragma once

#include <string>

namespace inkrun::platform {
class Folder;
}

namespace inkrun::setup {

// A setup file is the editor's text and nothing else. It is written in the Windows-1252 code page
// with the editor's CR LF line ends, and read as the editor reads a text file: in the code page,
// or as UTF-8 when it starts with UTF-8's byte-order mark (as Notepad writes it, and as a kept
// setup the code page cannot hold is written), every line end made what the editor holds
// (model/setup_line_ends.h). Every byte value of the code page reads and writes back unchanged.

// The text of a file's bytes, as above. `path` names the file when its bytes cannot be read as
// text: a byte-order mark before bytes that are not UTF-8 throws platform::FileError.
std::string setupTextOf(std::string bytes, const std::string& path);

// The whole file, as setupTextOf reads it. Throws platform::FileError.
std::string readSetupFile(const std::string& path);

// What becomes of a text that holds a character the code page cannot.
enum class UnencodableText {
    Refuse,      // a save the person asked for: they are told which character, nothing is written
    KeepAsUtf8,  // a setup kept while the window closes, when nobody can be asked: the whole text
                 // as UTF-8 behind a byte-order mark, which every reader here reads back the same
};

// Replaces the file atomically: a failure leaves any earlier file whole. With Refuse, a character
// the code page cannot hold throws platform::FileError naming it and the file, before anything
// is written.
void writeSetupFile(const std::string& path, const std::string& text,
                    UnencodableText unencodable = UnencodableText::Refuse);
// The same for the file `name` of a folder held open.
void writeSetupFile(const platform::Folder& folder, const std::string& name, const std::string& text,
                    UnencodableText unencodable);

}  // namespace inkrun::setup
