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
    UnencodableCharacter(char32_t codePoint, std::string character, std::size_t offset, bool malformed = false);
    char32_t codePoint() const { return codePoint_; }
    // The input was not UTF-8 at all (codePoint() is then U+FFFD and character() the bytes,
    // escaped): the text came from somewhere that does not speak UTF-8, not a missing character.
    bool malformed() const { return malformed_; }
    // The character itself, UTF-8.
    const std::string& character() const { return character_; }
    // Byte offset of the character in the UTF-8 input.
    std::size_t offset() const { return offset_; }
    // "the character "Ω" (U+03A9)", "the control character U+009B", "the bytes \xE9\x41"
    std::string describe() const;

private:
    char32_t codePoint_;
    std::string character_;
    std::size_t offset_;
    bool malformed_;
};

// The UTF-8 byte-order mark: a text file that starts with it is UTF-8, not in the code page.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// "Windows-1252": the code page text files are read and written in.
std::string ansiCodePageName();

// Bytes in the code page -> UTF-8. Never fails.
std::string decodeAnsi(std::string_view bytes);

// UTF-8 -> bytes in the code page. Throws UnencodableCharacter for a character outside the code
// page, and for malformed UTF-8 (reported as U+FFFD).
std::string encodeAnsi(std::string_view utf8);

// encodeAnsi into the text's own storage, which the code page's form does not outgrow (else the
// part that would is encoded apart): a setup as large as memory is not held twice. On
// UnencodableCharacter the text is left part encoded.
void encodeAnsiInPlace(std::string& text);

// Whether every byte is ASCII, which every code page and UTF-8 spell alike.
bool isAscii(std::string_view bytes);

// The same for Windows-1252 itself, whatever the system's code page.
std::string decodeWindows1252(std::string_view bytes);
std::string encodeWindows1252(std::string_view utf8);

// The UTF-8 character at `at` of a non-empty rest of `utf8`: its code point and length.
// Throws UnencodableCharacter (U+FFFD) when it is malformed.
std::size_t decodeUtf8Character(std::string_view utf8, std::size_t at, char32_t& codePoint);

// Whether the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

// Text fit to quote in a message: UTF-8 kept, every control character (C0, DEL, C1) and every
// byte that is not UTF-8 shown escaped ("\r", "\n", "\x00", "\u009B", "\xE9"), so a quoted name
// can neither cut the message short, forge a line, nor steer a terminal.
std::string escapeControls(std::string_view text);

}  // namespace inkrun::platform
