#include "platform/windows_names.h"

#include <cstdio>

namespace inkrun::platform {

namespace {

constexpr std::string_view kNotInWindowsNames = "<>:\"/\\|?*";

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsAsciiIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

// The device a name stands for, as Windows finds one: the part before the first dot, without
// the spaces it ends in, is a device name ("CON .dwg", "nul.tar.dwg" are devices too).
std::optional<std::string_view> deviceNamed(std::string_view step) {
    std::string_view base = step.substr(0, step.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    for (const std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (equalsAsciiIgnoringCase(base, device)) return base;
    // COM1-COM9 and LPT1-LPT9, and the superscript ones, written in UTF-8 (U+00B9, U+00B2, U+00B3).
    const std::string_view prefix = base.substr(0, 3);
    if (!equalsAsciiIgnoringCase(prefix, "COM") && !equalsAsciiIgnoringCase(prefix, "LPT")) return std::nullopt;
    const std::string_view number = base.substr(3);
    if (number.size() == 1 && number[0] >= '1' && number[0] <= '9') return base;
    for (const std::string_view superscript : {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"})
        if (number == superscript) return base;
    return std::nullopt;
}

}  // namespace

std::optional<std::string> whyNotWindowsName(std::string_view step) {
    for (const char c : step) {
        if (static_cast<unsigned char>(c) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            return std::string("holds a control character (") + code + "), which no Windows name can hold";
        }
        if (kNotInWindowsNames.find(c) != std::string_view::npos)
            return std::string("holds '") + c + "', which no Windows name can hold";
    }
    if (step == "." || step == "..") return "is no name but a step to the folder itself or its parent";
    if (step.ends_with('.')) return "ends in a dot, which Windows drops: it would open another file or none";
    if (step.ends_with(' ')) return "ends in a space, which Windows drops: it would open another file or none";
    if (const auto device = deviceNamed(step))
        return "is the device " + std::string(*device) + " to Windows, not a file, whatever its extension";
    return std::nullopt;
}

}  // namespace inkrun::platform
