#pragma once
// What a driver needs to build a menu bar from a window's menu tree: the root is GetMenu() of the window,
// its kids are the bar's menus, and each item's kids its drop-down, in creation order. An item's text is
// `name` (empty: a separator line) and its tag is tag().

namespace raziz::ui {

class TGadget;

struct HotKey {
  int key = 0;        // 0: none
  int modifiers = 0;
};

// The key combination SetHotKey bound to a menu item, for the driver to show beside its text.
HotKey HotKeyOf(const TGadget& item);

// True for a window's menu root (which the bar itself stands for, never an entry).
bool IsMenuRoot(const TGadget& item);

}  // namespace raziz::ui
