#include "platform/ansi_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace inkrun::platform {

namespace {

// 0x80-0x9F; everything else in the code page is the Latin-1 code point of the same value.
// Eight to a row, as code charts show them.
// clang-format off
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
// clang-format on

constexpr char32_t codePointOf(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

struct Utf8Form {
    unsigned char length = 0;
    char bytes[3] = {};
};

constexpr std::array<Utf8Form, 128> makeDecodeTable() {
    std::array<Utf8Form, 128> table{};
    for (int i = 0; i < 128; ++i) {
        const char32_t cp = codePointOf(static_cast<unsigned char>(0x80 + i));
        Utf8Form& form = table[i];
        if (cp < 0x800) {
            form.length = 2;
            form.bytes[0] = static_cast<char>(0xC0 | (cp >> 6));
            form.bytes[1] = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            form.length = 3;
            form.bytes[0] = static_cast<char>(0xE0 | (cp >> 12));
            form.bytes[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            form.bytes[2] = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return table;
}

constexpr std::array<Utf8Form, 128> kDecodeTable = makeDecodeTable();

// Code points up to U+2122, the highest in the code page, to their byte; 0 where there is none.
constexpr std::size_t kEncodeLimit = 0x2123;

constexpr std::array<unsigned char, kEncodeLimit> makeEncodeTable() {
    std::array<unsigned char, kEncodeLimit> table{};
    for (int byte = 0x80; byte < 0x100; ++byte)
        table[codePointOf(static_cast<unsigned char>(byte))] = static_cast<unsigned char>(byte);
    return table;
}

constexpr std::array<unsigned char, kEncodeLimit> kEncodeTable = makeEncodeTable();

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Whether the 8 bytes at `at` exist and are all ASCII; if so `word` holds them.
bool asciiWord(const char* data, std::size_t at, std::size_t size, std::uint64_t& word) {
    if (at + 8 > size) return false;
    std::memcpy(&word, data + at, 8);
    return (word & kHighBits) == 0;
}

std::string hex(char32_t value, int minDigits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    while (value != 0 || static_cast<int>(text.size()) < minDigits) {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    }
    return text;
}

std::string escaped(std::string_view bytes) {
    std::string text;
    for (unsigned char byte : bytes) text += "\\x" + hex(byte, 2);
    return text;
}

bool isControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }

std::string describeCharacter(char32_t codePoint, const std::string& character, bool malformed) {
    if (malformed) return (character.size() > 4 ? "the bytes " : "the byte ") + character;
    if (isControl(codePoint)) return "the control character U+" + hex(codePoint, 4);
    return "the character \"" + character + "\" (U+" + hex(codePoint, 4) + ")";
}

std::string problemText(char32_t codePoint, const std::string& character, bool malformed) {
    if (malformed) return "the text is not valid UTF-8 (" + describeCharacter(codePoint, character, true) + ")";
    return describeCharacter(codePoint, character, false) + " is not in the " + ansiCodePageName() + " code page";
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the multi-byte sequence at `at` into `cp`; returns its length, or 0 when it is
// malformed (overlong, surrogate, beyond U+10FFFF or cut short).
std::size_t decodeSequence(std::string_view text, std::size_t at, char32_t& cp) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned char lead = byte(0);
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;        // overlong
        else if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        if (lead == 0xF0) low = 0x90;        // overlong
        else if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if (!isContinuation(byte(k))) return 0;
        cp = (cp << 6) | (byte(k) & 0x3F);
    }
    return length;
}

// The lead byte and the continuation bytes after it: what a reader would take as one broken
// character.
std::size_t malformedLength(std::string_view text, std::size_t at) {
    std::size_t end = at + 1;
    if (!isContinuation(static_cast<unsigned char>(text[at])))
        while (end < text.size() && end < at + 4 && isContinuation(static_cast<unsigned char>(text[end]))) ++end;
    return end - at;
}

}  // namespace

UnencodableCharacter::UnencodableCharacter(char32_t codePoint, std::string character, std::size_t offset,
                                           bool malformed)
    : std::runtime_error(problemText(codePoint, character, malformed)), codePoint_(codePoint),
      character_(std::move(character)), offset_(offset), malformed_(malformed) {}

std::string UnencodableCharacter::describe() const { return describeCharacter(codePoint_, character_, malformed_); }

std::string decodeWindows1252(std::string_view bytes) {
    const char* data = bytes.data();
    const std::size_t size = bytes.size();
    std::uint64_t word;
    // Size the result exactly first, so the copy below needs no capacity checks.
    std::size_t outSize = size;
    for (std::size_t i = 0; i < size;) {
        if (asciiWord(data, i, size, word)) {
            i += 8;
            continue;
        }
        const auto byte = static_cast<unsigned char>(data[i++]);
        if (byte >= 0x80) outSize += kDecodeTable[byte - 0x80].length - 1;
    }
    std::string out(outSize, '\0');
    char* to = out.data();
    for (std::size_t i = 0; i < size;) {
        if (asciiWord(data, i, size, word)) {
            std::memcpy(to, &word, 8);
            to += 8;
            i += 8;
            continue;
        }
        const auto byte = static_cast<unsigned char>(data[i++]);
        if (byte < 0x80) {
            *to++ = static_cast<char>(byte);
            continue;
        }
        const Utf8Form& form = kDecodeTable[byte - 0x80];
        to[0] = form.bytes[0];
        to[1] = form.bytes[1];
        if (form.length == 3) to[2] = form.bytes[2];
        to += form.length;
    }
    return out;
}

std::string encodeWindows1252(std::string_view utf8) {
    const char* data = utf8.data();
    const std::size_t size = utf8.size();
    std::string out(size, '\0');  // never longer than the input
    char* to = out.data();
    std::uint64_t word;
    for (std::size_t i = 0; i < size;) {
        if (asciiWord(data, i, size, word)) {
            std::memcpy(to, &word, 8);
            to += 8;
            i += 8;
            continue;
        }
        const auto lead = static_cast<unsigned char>(data[i]);
        if (lead < 0x80) {
            *to++ = static_cast<char>(lead);
            ++i;
            continue;
        }
        char32_t cp = 0;
        std::size_t length;
        const auto next = [&](std::size_t k) { return static_cast<unsigned char>(data[i + k]); };
        if ((lead == 0xC2 || lead == 0xC3) && i + 1 < size && isContinuation(next(1))) {
            // Latin-1, the common case.
            cp = static_cast<char32_t>(((lead & 0x1F) << 6) | (next(1) & 0x3F));
            length = 2;
        } else if (lead >= 0xE1 && lead <= 0xEC && i + 2 < size && isContinuation(next(1)) && isContinuation(next(2))) {
            // Punctuation and the euro sign (U+20xx); these leads have no overlong or surrogate forms.
            cp = static_cast<char32_t>(((lead & 0x0F) << 12) | ((next(1) & 0x3F) << 6) | (next(2) & 0x3F));
            length = 3;
        } else {
            length = decodeSequence(utf8, i, cp);
            if (length == 0)
                throw UnencodableCharacter(U'\uFFFD', escaped(utf8.substr(i, malformedLength(utf8, i))), i, true);
        }
        const unsigned char byte = cp < kEncodeLimit ? kEncodeTable[cp] : 0;
        if (byte == 0) throw UnencodableCharacter(cp, std::string(utf8.substr(i, length)), i);
        *to++ = static_cast<char>(byte);
        i += length;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return out;
}

bool isAscii(std::string_view bytes) {
    std::uint64_t word;
    std::size_t i = 0;
    for (; asciiWord(bytes.data(), i, bytes.size(), word); i += 8) {
    }
    if (i + 8 <= bytes.size()) return false;  // the word that stopped the loop
    for (; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) return false;
    return true;
}

void encodeAnsiInPlace(std::string& text) {
    // Where a character stands in the whole text, not in the piece that held it.
    const auto encodeFrom = [](std::string_view piece, std::size_t at) {
        try {
            return encodeAnsi(piece);
        } catch (const UnencodableCharacter& e) {
            throw UnencodableCharacter(e.codePoint(), e.character(), at + e.offset(), e.malformed());
        }
    };
    // A piece at a time, each cut at a character's start. A piece's encoded form is no longer than
    // the piece in every code page a system runs in, so it lands on bytes already read.
    constexpr std::size_t kPiece = 64 * 1024;
    std::size_t written = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = std::min(text.size(), at + kPiece);
        for (int back = 0;
             back < 3 && end < text.size() && end > at + 1 && isContinuation(static_cast<unsigned char>(text[end]));
             ++back)
            --end;
        const std::string_view piece(text.data() + at, end - at);
        if (isAscii(piece)) {
            if (written != at) std::memmove(text.data() + written, piece.data(), piece.size());
            written += piece.size();
        } else {
            const std::string encoded = encodeFrom(piece, at);
            if (written + encoded.size() > end) {
                // A code page whose form outgrows UTF-8 (a four-byte one): the rest is encoded apart.
                std::string whole = text.substr(0, written) + encoded;
                whole += encodeFrom(std::string_view(text).substr(end), end);
                text = std::move(whole);
                return;
            }
            std::memcpy(text.data() + written, encoded.data(), encoded.size());
            written += encoded.size();
        }
        at = end;
    }
    text.resize(written);
}

std::size_t decodeUtf8Character(std::string_view utf8, std::size_t at, char32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    const std::size_t length = decodeSequence(utf8, at, codePoint);
    if (length == 0)
        throw UnencodableCharacter(U'\uFFFD', escaped(utf8.substr(at, malformedLength(utf8, at))), at, true);
    return length;
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t length = decodeSequence(bytes, i, cp);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string escapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            out.push_back(static_cast<char>(byte));
            ++i;
        } else if (byte == '\r') {
            out += "\\r";
            ++i;
        } else if (byte == '\n') {
            out += "\\n";
            ++i;
        } else if (byte < 0x80) {
            out += "\\x" + hex(byte, 2);
            ++i;
        } else {
            char32_t cp = 0;
            const std::size_t length = decodeSequence(text, i, cp);
            if (length == 0) {
                out += "\\x" + hex(byte, 2);
                ++i;
            } else {
                if (isControl(cp)) out += "\\u" + hex(cp, 4);
                else out.append(text.substr(i, length));
                i += length;
            }
        }
    }
    return out;
}

}  // namespace inkrun::platform
