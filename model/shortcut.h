#pragma once

#include <optional>
#include <string_view>

// Menu shortcuts as the window description spells them ("Ctrl+S", "Ctrl+Shift+F5", "Del"), read
// once for both windows, so that each offers exactly the shortcuts the other does.

namespace inkrun::ui {

enum class ShortcutKey {
    Character,  // a letter A to Z or a digit 0 to 9, in `character`
    Function,   // F1 to F24, the number in `function`
    Delete,
    Insert,
    Home,
    End,
    PageUp,
    PageDown,
    Left,
    Up,
    Right,
    Down,
};

struct Shortcut {
    ShortcutKey key = ShortcutKey::Character;
    char character = 0;  // upper case
    int function = 0;
    bool control = false;
    bool shift = false;
    bool alt = false;
};

// Modifiers "Ctrl+", "Shift+", "Alt+" in any order, each at most once, then one key: a letter or
// digit, "F1" to "F24", or "Del", "Ins", "Home", "End", "PgUp", "PgDown", "Left", "Up", "Right",
// "Down". Letters and digits need Ctrl or Alt: alone or with Shift they would take the typing
// away from the text boxes. nullopt for anything else.
std::optional<Shortcut> parseShortcut(std::string_view text);

}  // namespace inkrun::ui
