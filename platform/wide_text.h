#pragma once

#include <string>
#include <string_view>

// The edge between this program's UTF-8 text and the UTF-16 of the Windows API. Windows only.

namespace inkrun::platform {

// UTF-8 -> UTF-16; malformed UTF-8 becomes U+FFFD, which names no file.
std::wstring widen(std::string_view utf8);

// UTF-16 -> UTF-8; an unpaired surrogate becomes U+FFFD.
std::string narrow(std::wstring_view utf16);

// The system's text for a GetLastError() value, without the closing full stop and line end:
// "Access is denied".
std::string windowsReason(unsigned long errorCode);

}  // namespace inkrun::platform
