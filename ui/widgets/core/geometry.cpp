#include "ui/widgets/core/geometry.h"

#include <algorithm>

#include "ui/widgets/core/gadget.h"
#include "ui/widgets/core/layout_scale.h"

namespace raziz::ui {

namespace {

// Both edges are mapped, so that a rectangle's scaled size follows its neighbours' scaled edges.
Rect Map(const LayoutScale& s, long long x, long long y, long long width, long long height) {
  const int left = s.Px(x), top = s.Px(y);
  return {left, top, std::max(0, s.Px(x + width) - left), std::max(0, s.Px(y + height) - top)};
}

bool IsContainer(const TGadget& g) { return g.kind() == kWindow || g.kind() == kPanel; }

TGadget* PanelAtIn(const TGadget& container, int x, int y) {
  const Rect inner = PlacedClientArea(container);
  const int cx = x - inner.x, cy = y - inner.y;
  for (auto it = container.kids.rbegin(); it != container.kids.rend(); ++it) {
    TGadget* g = *it;
    if (g->kind() != kPanel || !g->alive()) continue;
    const Rect r = PlacedRect(*g);
    if (!r.Contains(cx, cy)) continue;
    TGadget* inside = PanelAtIn(*g, cx - r.x, cy - r.y);
    return inside ? inside : g;
  }
  return nullptr;
}

}  // namespace

Rect ClientArea(const TGadget& container) {
  if (IsGroupPanel(container)) {
    return {kGroupInnerLeft, kGroupInnerTop, std::max(0, container.width - kGroupInnerLeft - kGroupInnerRight),
            std::max(0, container.height - kGroupInnerTop - kGroupInnerBottom)};
  }
  return {0, 0, container.width, container.height};
}

Rect PlacedRect(const TGadget& g) { return Map(ScaleOf(g), g.xpos, g.ypos, g.width, g.height); }

Rect PlacedClientArea(const TGadget& container) {
  const Rect own = PlacedRect(container);
  if (container.kind() == kWindow || !IsGroupPanel(container)) return {0, 0, own.width, own.height};
  const LayoutScale s = ScaleOf(container);
  const int left = s.Px(kGroupInnerLeft), top = s.Px(kGroupInnerTop);
  const int right = s.Px(kGroupInnerRight), bottom = s.Px(kGroupInnerBottom);
  return {left, top, std::max(0, own.width - left - right), std::max(0, own.height - top - bottom)};
}

Rect RectInWindow(const TGadget& control) {
  Rect r = PlacedRect(control);
  for (const TGadget* c = control.parent; c && c->kind() != kWindow && c->kind() != kDesktop; c = c->parent) {
    const Rect at = PlacedRect(*c);
    const Rect inner = PlacedClientArea(*c);
    r.x += at.x + inner.x;
    r.y += at.y + inner.y;
  }
  return r;
}

TGadget* PanelAt(const TGadget& window, int x, int y) {
  if (!IsContainer(window)) return nullptr;
  return PanelAtIn(window, x, y);
}

TGadget* PanelPressedAt(const TGadget& window, int x, int y) {
  TGadget* panel = PanelAt(window, x, y);
  if (!panel) return nullptr;
  const Rect at = RectInWindow(*panel);
  const Rect inner = PlacedClientArea(*panel);
  const int cx = x - at.x - inner.x, cy = y - at.y - inner.y;  // the point in the panel's client area
  for (const TGadget* kid : panel->kids) {
    if (!kid->alive()) continue;
    const int k = kid->kind();
    const bool takes_keys = k == kButton || k == kTextField || k == kTextArea || k == kSlider;
    if (takes_keys && PlacedRect(*kid).Contains(cx, cy)) return nullptr;
  }
  return panel;
}

Size LayoutReach(const TGadget& window) {
  Size reach;
  for (const TGadget* kid : window.kids) {
    if (!kid->alive() || kid->kind() == kMenuItem) continue;
    const Rect r = PlacedRect(*kid);
    reach.width = std::max(reach.width, r.x + r.width);
    reach.height = std::max(reach.height, r.y + r.height);
  }
  return reach;
}

Size ClientSizeFor(const TGadget& window, const Decorations& d) {
  const Rect frame = PlacedRect(window);
  const Size reach = LayoutReach(window);
  // A window asked for by its client area has no decorations to take off.
  if (GeometryIsClientArea(window)) return {std::max(frame.width, reach.width), std::max(frame.height, reach.height)};
  return {std::max(frame.width - d.left - d.right, reach.width),
          std::max(frame.height - d.top - d.bottom - d.menu_bar, reach.height)};
}

bool SliderShowsTicks(const TGadget& slider) {
  const long long span = static_cast<long long>(slider.slider_max()) - slider.slider_min();
  if (span <= 0) return false;
  const int length = IsHorizontal(slider) ? slider.width : slider.height;
  return length >= 4 * span;
}

}  // namespace raziz::ui
