#pragma once

#include <filesystem>
#include <string>

// UTF-8 text <-> std::filesystem paths, the same on every system: a narrow path would take the
// ANSI code page on Windows.

namespace inkrun::platform {

inline std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string textOf(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace inkrun::platform
