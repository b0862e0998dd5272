// What a menu item runs: the item carries the number of its row in the menu table, and triggering it
// runs the command read from there.
#pragma once

#include "app/menu_table.h"

#include <cstddef>

class QAction;

// Makes the action stand for row `index` of the menu table.
void BindToRow(QAction& action, std::size_t index);
// The command the action runs when triggered: its row's; nullptr for an action without one.
Command BoundCommand(const QAction& action);
