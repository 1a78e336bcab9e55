#pragma once

#include <string>
#include <string_view>

namespace inkrun::win32 {

// The core speaks UTF-8, the W functions UTF-16: converted at the window's edge, never through
// the ANSI code page, so every name the system can hold reaches the core unchanged.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace inkrun::win32
