#include "platform/ansi_codec.h"

#include "platform/wide_text.h"
#include "platform/windows_api.h"

#include <algorithm>

// Text in the system's ANSI code page, as Windows converts it.

namespace inkrun::platform {

namespace {

void appendUtf16(std::wstring& wide, char32_t codePoint) {
    if (codePoint < 0x10000) {
        wide.push_back(static_cast<wchar_t>(codePoint));
    } else {
        codePoint -= 0x10000;
        wide.push_back(static_cast<wchar_t>(0xD800 + (codePoint >> 10)));
        wide.push_back(static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF)));
    }
}

// WideCharToMultiByte into the code page; false when a character has no byte of its own there.
// No best fit: "Ω" must not quietly become "O", nor "€" become "?".
bool toCodePage(UINT codePage, const std::wstring& wide, std::string& bytes) {
    BOOL usedDefault = FALSE;
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr,
                                           &usedDefault);
    if (length <= 0 || usedDefault) return false;
    bytes.assign(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length, nullptr, &usedDefault);
    return !usedDefault;
}

}  // namespace

std::string ansiCodePageName() { return "Windows-" + std::to_string(GetACP()); }

std::string decodeAnsi(std::string_view bytes) {
    if (isAscii(bytes)) return std::string(bytes);
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8) return std::string(bytes);
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return narrow(wide);
}

std::string encodeAnsi(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    // Malformed UTF-8 is refused before Windows could turn it into U+FFFD.
    std::wstring wide;
    wide.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t codePoint = 0;
        at += decodeUtf8Character(utf8, at, codePoint);
        appendUtf16(wide, codePoint);
    }
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8) return std::string(utf8);
    std::string bytes;
    if (toCodePage(codePage, wide, bytes)) return bytes;

    // Find the first character the code page cannot hold, to name it.
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t codePoint = 0;
        const std::size_t length = decodeUtf8Character(utf8, at, codePoint);
        std::wstring one;
        appendUtf16(one, codePoint);
        std::string ignored;
        if (!toCodePage(codePage, one, ignored))
            throw UnencodableCharacter(codePoint, std::string(utf8.substr(at, length)), at);
        at += length;
    }
    // Each character fits alone but not together (a code page with shift states).
    throw UnencodableCharacter(U'\uFFFD', std::string(utf8), 0);
}

}  // namespace inkrun::platform
