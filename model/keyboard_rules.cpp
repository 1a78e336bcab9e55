#include "model/keyboard_rules.h"

namespace inkrun::ui {

KeyAnswer answerKey(const ControlDescription& control, KeyStroke stroke) {
    switch (control.kind) {
    case ControlKind::TextBox:
        if (stroke.key == Key::Tab) return KeyAnswer::FocusNext;
        if (stroke.key == Key::Backtab) return KeyAnswer::FocusPrevious;
        if (stroke.key == Key::Enter && control.singleLine) return KeyAnswer::Ignore;
        return KeyAnswer::AsUsual;
    case ControlKind::PictureButton:
        return stroke.key == Key::Enter && !stroke.control ? KeyAnswer::Press : KeyAnswer::AsUsual;
    case ControlKind::FileList: return stroke.key == Key::SelectAll ? KeyAnswer::SelectAll : KeyAnswer::AsUsual;
    default: return KeyAnswer::AsUsual;
    }
}

std::string singleLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') continue;
        // U+2028 and U+2029, the line and paragraph separators, in UTF-8.
        if (c == '\xE2' && i + 2 < text.size() && text[i + 1] == '\x80' &&
            (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
            i += 2;
            continue;
        }
        line.push_back(c);
    }
    return line;
}

bool isTabStop(const ControlDescription& control, bool selected) {
    if (control.tabIndex < 0 || !control.created) return false;
    switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::Frame: return false;
    case ControlKind::OptionButton: return selected;
    default: return true;
    }
}

}  // namespace inkrun::ui
