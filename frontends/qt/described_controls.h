#pragma once

#include <QFont>
#include <QIcon>
#include <QWidget>

#include "model/window_description.h"

// Qt widgets built from the shared window tables (model/window_description.h).
namespace inkrun::qt {

QIcon iconFor(ui::IconId icon);

// The described font over the window's own; a fixed-pitch description gets a fixed-pitch font.
QFont fontFor(const ui::FontDescription& description, const QFont& base);

// The widget for one described control, named after it, placed in `parent` (the client area or
// its frame). nullptr for a control that exists only in the design.
QWidget* buildControl(const ui::ControlDescription& control, QWidget* parent);

// The keyboard rules of keyboard_rules.h on a built control, and the tab order of the table.
void applyKeyboardRules(QWidget* widget, const ui::ControlDescription& control);
void applyTabOrder(QWidget* root, const ui::WindowDescription& window);

// A caption that the font makes larger than its place grows right and down, within its parent.
void growToFit(QWidget* caption);

// Moves the keyboard focus from `from` to the next (or previous) tab stop of its window.
void moveFocus(QWidget* from, bool forward);

// The window flags of a fixed-size window: title, close box, and a minimize button if described.
Qt::WindowFlags fixedWindowFlags(const ui::WindowDescription& window);

}  // namespace inkrun::qt
