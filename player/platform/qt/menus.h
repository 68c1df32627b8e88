#pragma once

// The aspect and zoom pop-up menus.

#include <QPoint>
#include <vector>

#include "platform/ports.h"

class QMenu;

namespace zefa::qt {

struct MenuItem {
    int value; // -1 for the closing "Cansel" item
    const char* caption;
};

// The items of a menu in their order, "Cansel" last.
const std::vector<MenuItem>& menu_items(Menu m);

// Adds the items to the menu as checkable actions carrying their values; the item whose
// value is `checked` is ticked, "Cansel" never.
void fill_menu(QMenu& menu, Menu m, int checked);

// Runs the menu modally at the screen point; the chosen value, or -1.
int run_menu(Menu m, QPoint at, int checked);

} // namespace zefa::qt
