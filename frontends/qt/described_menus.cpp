#include "frontends/qt/described_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "frontends/qt/qt_text.h"

namespace inkrun::qt {

namespace {

Qt::Key qtKey(const ui::Shortcut& shortcut) {
    using ui::ShortcutKey;
    switch (shortcut.key) {
    case ShortcutKey::Character:
        if (shortcut.character >= '0' && shortcut.character <= '9')
            return Qt::Key(Qt::Key_0 + (shortcut.character - '0'));
        return Qt::Key(Qt::Key_A + (shortcut.character - 'A'));
    case ShortcutKey::Function: return Qt::Key(Qt::Key_F1 + (shortcut.function - 1));
    case ShortcutKey::Delete: return Qt::Key_Delete;
    case ShortcutKey::Insert: return Qt::Key_Insert;
    case ShortcutKey::Home: return Qt::Key_Home;
    case ShortcutKey::End: return Qt::Key_End;
    case ShortcutKey::PageUp: return Qt::Key_PageUp;
    case ShortcutKey::PageDown: return Qt::Key_PageDown;
    case ShortcutKey::Left: return Qt::Key_Left;
    case ShortcutKey::Up: return Qt::Key_Up;
    case ShortcutKey::Right: return Qt::Key_Right;
    case ShortcutKey::Down: return Qt::Key_Down;
    }
    return Qt::Key_unknown;
}

}  // namespace

QKeySequence keySequence(const ui::Shortcut& shortcut) {
    Qt::KeyboardModifiers modifiers;
    if (shortcut.control) modifiers |= Qt::ControlModifier;
    if (shortcut.shift) modifiers |= Qt::ShiftModifier;
    if (shortcut.alt) modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(modifiers, qtKey(shortcut)));
}

void buildMenus(QMenuBar* bar, const ui::WindowDescription& window, const std::function<void(ui::Handler)>& run) {
    for (const ui::Menu& described : window.menus) {
        QMenu* menu = bar->addMenu(qtName(described.caption));
        menu->setObjectName(qtName(described.name));
        for (const ui::MenuEntry& entry : described.entries) {
            QAction* action = entry.isSeparator() ? menu->addSeparator() : menu->addAction(qtName(entry.caption));
            action->setObjectName(qtName(entry.name));
            if (entry.handler != ui::Handler::None)
                QObject::connect(action, &QAction::triggered, bar, [run, handler = entry.handler] { run(handler); });
            if (const auto shortcut = ui::parseShortcut(entry.shortcut)) action->setShortcut(keySequence(*shortcut));
        }
    }
}

}  // namespace inkrun::qt
