#include "platform/ansi_codec.h"

// Away from Windows there is no system code page to ask: the files are those Windows writes.

namespace inkrun::platform {

std::string ansiCodePageName() { return "Windows-1252"; }

std::string decodeAnsi(std::string_view bytes) { return decodeWindows1252(bytes); }

std::string encodeAnsi(std::string_view utf8) { return encodeWindows1252(utf8); }

}  // namespace inkrun::platform
