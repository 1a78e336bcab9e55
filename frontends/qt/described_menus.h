#pragma once

#include <QKeySequence>
#include <functional>

#include "model/shortcut.h"
#include "model/window_description.h"

class QMenuBar;

// Qt menus built from the shared window tables (model/window_description.h).
namespace inkrun::qt {

// The key sequence of a shortcut as the description spells it.
QKeySequence keySequence(const ui::Shortcut& shortcut);

// The window's menus in `bar`, each entry named after its description; choosing an entry (or
// pressing its shortcut) calls `run` with the entry's handler.
void buildMenus(QMenuBar* bar, const ui::WindowDescription& window, const std::function<void(ui::Handler)>& run);

}  // namespace inkrun::qt
