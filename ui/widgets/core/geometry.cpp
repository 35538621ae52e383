#include "ui/widgets/core/geometry.h"

#include <algorithm>

#include "ui/widgets/core/gadget.h"

namespace raziz::ui {

bool IsGroupPanel(const TGadget& gadget) {
  return gadget.kind() == kPanel && (gadget.style & 3) == panel_style::kGroup;
}

Rect ClientArea(const TGadget& container) {
  if (IsGroupPanel(container)) {
    return {kGroupInnerLeft, kGroupInnerTop,
            std::max(0, container.width - kGroupInnerLeft - kGroupInnerRight),
            std::max(0, container.height - kGroupInnerTop - kGroupInnerBottom)};
  }
  return {0, 0, container.width, container.height};
}

Rect RectInWindow(const TGadget& control) {
  Rect r{control.xpos, control.ypos, control.width, control.height};
  for (const TGadget* c = control.parent; c && c->kind() != kWindow && c->kind() != kDesktop; c = c->parent) {
    const Rect inner = ClientArea(*c);
    r.x += c->xpos + inner.x;
    r.y += c->ypos + inner.y;
  }
  return r;
}

bool SliderShowsTicks(const TGadget& slider) {
  const long long span = static_cast<long long>(slider.slider_max()) - slider.slider_min();
  if (span <= 0) return false;
  const int length = (slider.style & slider_style::kHorizontal) ? slider.width : slider.height;
  return length >= 4 * span;
}

}  // namespace raziz::ui
