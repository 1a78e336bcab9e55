// The keys a person presses to choose an entry of the main window's menus, named by its caption
// as shown (without its "&"): Alt with the menu's access key, then the entry's own access key;
// an entry without one is reached with Down from the first entry, where the menu opens, and
// Enter. The keys are read off the window description the window is built from, in xdotool's
// names, on one line: Wine shows no other program the menus of a window.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>

#include "model/window_description.h"

namespace {

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

// The caption as shown, and its access key in lower case ('\0' for none).
std::pair<std::string, char> shown(std::string_view caption) {
    std::string text;
    char key = '\0';
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;
            if (caption[i] != '&' && !key)
                key = static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i])));
        }
        text.push_back(caption[i]);
    }
    return {text, key};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    const std::string wanted = utf8(argv[1]);
    for (const inkrun::ui::Menu& menu : inkrun::ui::mainWindow().menus) {
        int downs = 0;
        for (const inkrun::ui::MenuEntry& entry : menu.entries) {
            if (entry.isSeparator()) continue;
            const auto [text, key] = shown(entry.caption);
            if (text != wanted) {
                ++downs;
                continue;
            }
            std::string keys = std::string("alt+") + shown(menu.caption).second;
            if (key) {
                keys += std::string(" ") + key;
            } else {
                for (int i = 0; i < downs; ++i) keys += " Down";
                keys += " Return";
            }
            std::printf("%s\n", keys.c_str());
            return 0;
        }
    }
    std::fprintf(stderr, "no menu entry is captioned %s\n", wanted.c_str());
    return 1;
}
