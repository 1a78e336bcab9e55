#include "model/shortcut.h"

#include <array>
#include <charconv>
#include <utility>

namespace inkrun::ui {

namespace {

constexpr std::array<std::pair<std::string_view, ShortcutKey>, 10> kNamedKeys{{
    {"Del", ShortcutKey::Delete},
    {"Ins", ShortcutKey::Insert},
    {"Home", ShortcutKey::Home},
    {"End", ShortcutKey::End},
    {"PgUp", ShortcutKey::PageUp},
    {"PgDown", ShortcutKey::PageDown},
    {"Left", ShortcutKey::Left},
    {"Up", ShortcutKey::Up},
    {"Right", ShortcutKey::Right},
    {"Down", ShortcutKey::Down},
}};

bool readModifier(std::string_view& text, std::string_view name, bool& flag) {
    if (!text.starts_with(name) || text.size() == name.size() || text[name.size()] != '+') return false;
    if (flag) return false;  // "Ctrl+Ctrl+S"
    flag = true;
    text.remove_prefix(name.size() + 1);
    return true;
}

std::optional<Shortcut> readKey(std::string_view key, Shortcut shortcut) {
    if (key.size() == 1) {
        char c = key.front();
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return std::nullopt;
        if (!shortcut.control && !shortcut.alt) return std::nullopt;
        shortcut.key = ShortcutKey::Character;
        shortcut.character = c;
        return shortcut;
    }
    if (key.size() >= 2 && key.size() <= 3 && key.front() == 'F' && key[1] != '0') {
        int number = 0;
        const auto [end, error] = std::from_chars(key.data() + 1, key.data() + key.size(), number);
        if (error != std::errc{} || end != key.data() + key.size() || number < 1 || number > 24) return std::nullopt;
        shortcut.key = ShortcutKey::Function;
        shortcut.function = number;
        return shortcut;
    }
    for (const auto& [name, named] : kNamedKeys) {
        if (key != name) continue;
        shortcut.key = named;
        return shortcut;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Shortcut> parseShortcut(std::string_view text) {
    Shortcut shortcut;
    while (readModifier(text, "Ctrl", shortcut.control) || readModifier(text, "Shift", shortcut.shift) ||
           readModifier(text, "Alt", shortcut.alt)) {
    }
    return readKey(text, shortcut);
}

}  // namespace inkrun::ui
