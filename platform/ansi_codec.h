#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace inkrun::platform {

// Text files of this program are single-byte Windows-1252. The five bytes that code page leaves
// unassigned (0x81 0x8D 0x8F 0x90 0x9D) map to U+0081... so that any byte sequence reads and
// writes back unchanged.

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

// Bytes in the code page -> UTF-8. Never fails.
std::string decodeAnsi(std::string_view bytes);

// UTF-8 -> bytes in the code page. Throws UnencodableCharacter for a character outside the code
// page, and for malformed UTF-8 (reported as U+FFFD).
std::string encodeAnsi(std::string_view utf8);

}  // namespace inkrun::platform
