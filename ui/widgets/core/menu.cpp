// Menus: a window's menu root, the tree of items under it, and the menu bar rebuilt from the tree.

#include <cstdio>
#include <cstdlib>

#include "ui/widgets/core/core.h"

namespace raziz::ui {

TGadget* Core::MenuRoot(TGadget* window) {
  if (!window || !window->alive_ || window->kind_ != kWindow) return nullptr;
  if (!window->menu_root_) {
    auto& layer = detail::Layer();
    TGadget* root = Driver().MakeGadget(kMenuItem, 0);
    if (!root) root = new TGadget(kMenuItem, 0);
    root->parent = window;
    window->menu_root_ = root;
    layer.live.push_back(root);
    root->NativeCreate();
  }
  return window->menu_root_;
}

TGadget* TGadget::GetMenu() { return Core::MenuRoot(this); }

void TGadget::UpdateMenu() {
  if (!alive_ || kind_ != kWindow) return;
  GetMenu();
  if (!NativeMenuBar()) {
    // The platform ran out of window resources; the program cannot go on without its menu.
    std::fputs("Parent doesn't have a handle - the desktop heap may have run out of memory!\n", stderr);
    std::fflush(stderr);
    std::exit(-1);
  }
}

void TGadget::SetHotKey(int key, int modifiers) {
  if (!alive_ || kind_ != kMenuItem) return;
  detail::Layer().hot_keys[this] = {key, modifiers};
}

}  // namespace raziz::ui
