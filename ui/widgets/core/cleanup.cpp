// The end of a gadget: children first, then the gadget itself; its memory is kept until no event names it,
// so a later gadget at the same address is never mistaken for a stale event's source.

#include <algorithm>

#include "ui/widgets/core/core.h"

namespace raziz::ui {

namespace {

void Erase(std::vector<TGadget*>& list, const TGadget* gadget) {
  list.erase(std::remove(list.begin(), list.end(), gadget), list.end());
}

}  // namespace

void Core::Destroy(TGadget* g) {
  auto& layer = detail::Layer();
  if (!g || !g->alive_ || g == layer.desktop) return;

  const std::vector<TGadget*> children = g->kids;  // each child takes itself out of the list
  for (TGadget* child : children) Destroy(child);
  if (g->menu_root_) Destroy(g->menu_root_);

  // From here on nothing names it: input for it is ignored and nothing it does is raised.
  g->alive_ = false;
  g->raises_events_ = false;
  if (TGadget* win = g->parent ? g->parent->window() : nullptr; win && win->focus_ == g) win->focus_ = nullptr;

  Erase(layer.activation_order, g);
  if (layer.active_window == g) {
    layer.active_window = nullptr;
    // The most recently active of the remaining windows comes to the front while this one still stands.
    // Left to the platform's own choice once it is gone, the keyboard focus may stay with neither (wine
    // without a window manager of its own leaves the X input focus elsewhere).
    if (!layer.activation_order.empty()) BecomeActive(layer.activation_order.back(), true);
  }

  g->NativeDestroy();
  g->pixmap_.reset();

  if (g->parent) {
    Erase(g->parent->kids, g);
    if (g->parent->menu_root_ == g) g->parent->menu_root_ = nullptr;
    g->parent = nullptr;
  }
  g->focus_ = nullptr;
  Erase(layer.live, g);
  layer.hidden_windows.erase(g);
  layer.hot_keys.erase(g);
  layer.dead.push_back(g);
}

namespace detail {

void SweepDeadGadgets() {
  auto& layer = Layer();
  std::vector<TGadget*> kept;
  for (TGadget* g : layer.dead) {
    if (EventsName(g)) {
      kept.push_back(g);
    } else {
      Core::Release(g);
    }
  }
  layer.dead = std::move(kept);
}

}  // namespace detail

}  // namespace raziz::ui
