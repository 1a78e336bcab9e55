#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace inkrun::platform {

// Text files of this program are in the system's ANSI code page: GetACP() on Windows, Windows-1252
// elsewhere. The five bytes Windows-1252 leaves unassigned (0x81 0x8D 0x8F 0x90 0x9D) map to
// U+0081... so that any byte sequence reads and writes back unchanged.

// A character the code page cannot hold. Never replaced by '?'.
class UnencodableCharacter : public std::runtime_error {
public:
    UnencodableCharacter(char32_t codePoint, std::string character, std::size_t offset);
    char32_t codePoint() const { return codePoint_; }
    // The character itself, UTF-8.
    const std::string& character() const { return character_; }
    // Byte offset of the character in the UTF-8 input.
    std::size_t offset() const { return offset_; }
    // "the character "Ω" (U+03A9)"
    std::string describe() const;

private:
    char32_t codePoint_;
    std::string character_;
    std::size_t offset_;
};

// "Windows-1252": the code page text files are read and written in.
std::string ansiCodePageName();

// Bytes in the code page -> UTF-8. Never fails.
std::string decodeAnsi(std::string_view bytes);

// UTF-8 -> bytes in the code page. Throws UnencodableCharacter for a character outside the code
// page, and for malformed UTF-8 (reported as U+FFFD).
std::string encodeAnsi(std::string_view utf8);

// The same for Windows-1252 itself, whatever the system's code page.
std::string decodeWindows1252(std::string_view bytes);
std::string encodeWindows1252(std::string_view utf8);

// The UTF-8 character at `at` of a non-empty rest of `utf8`: its code point and length.
// Throws UnencodableCharacter (U+FFFD) when it is malformed.
std::size_t decodeUtf8Character(std::string_view utf8, std::size_t at, char32_t& codePoint);

}  // namespace inkrun::platform
