#pragma once

#include <optional>
#include <string>
#include <string_view>

// What a Windows path cannot hold, or holds as something else than it reads: the rules a path
// must keep to open the file it names on a Windows workstation, whichever system writes it.

namespace inkrun::platform {

// Why Windows would not open `step`, one name of a path (UTF-8, between separators), as the file
// or folder of that name: a character no Windows name holds (< > : " / \ | ? * and the control
// characters), a last dot or space (Windows drops them: "rev." opens "rev"), a device name
// (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, COM and LPT with a superscript 1, 2 or 3, CONIN$,
// CONOUT$; in any case, with any extension: "nul.dwg" is the device NUL), or "." or "..".
// nullopt for a name Windows takes as it stands. The reason reads on after the step's name.
std::optional<std::string> whyNotWindowsName(std::string_view step);

}  // namespace inkrun::platform
