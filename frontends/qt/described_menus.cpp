#include "frontends/qt/described_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "frontends/qt/qt_text.h"

namespace inkrun::app {

void buildMenus(QMenuBar* bar, const ui::WindowDescription& window, const std::function<void(ui::Handler)>& run) {
    for (const ui::Menu& described : window.menus) {
        QMenu* menu = bar->addMenu(qtName(described.caption));
        menu->setObjectName(qtName(described.name));
        for (const ui::MenuEntry& entry : described.entries) {
            QAction* action = entry.isSeparator() ? menu->addSeparator() : menu->addAction(qtName(entry.caption));
            action->setObjectName(qtName(entry.name));
            if (entry.handler != ui::Handler::None)
                QObject::connect(action, &QAction::triggered, bar, [run, handler = entry.handler] { run(handler); });
            if (!entry.shortcut.empty()) action->setShortcut(QKeySequence(qtName(entry.shortcut)));
        }
    }
}

}  // namespace inkrun::app
