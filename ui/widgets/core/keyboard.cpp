// Keyboard navigation inside a window: Tab and Shift+Tab among the tab stops of the focused control's own
// container, Enter to the default button, Escape to the cancel button, and the slider keys.

#include <algorithm>

#include "ui/widgets/core/core.h"

namespace raziz::ui {

namespace {

// The window or panel that directly holds the focused control; a focused panel is a container itself.
TGadget* KeyboardContainer(TGadget* focus) { return focus->kind() == kPanel ? focus : focus->parent; }

TGadget* DirectButton(TGadget* container, int kind_bits) {
  for (TGadget* kid : container->kids) {
    if (kid->alive() && kid->kind() == kButton && (kid->style & 7) == kind_bits) return kid;
  }
  return nullptr;
}

bool IsPushButton(const TGadget* g) {
  const int bits = g->style & 7;
  return g->kind() == kButton &&
         (bits == button_style::kPush || bits == button_style::kDefault || bits == button_style::kCancel);
}

void CollectTabStops(TGadget* container, std::vector<TGadget*>& stops) {
  for (TGadget* kid : container->kids) {
    if (!Core::RaisesEvents(kid)) continue;
    if (Core::IsTabStop(kid)) {
      stops.push_back(kid);
    } else if (kid->kind() == kPanel) {
      CollectTabStops(kid, stops);
    }
  }
}

}  // namespace

bool Core::IsTabStop(const TGadget* g) {
  return g->kind_ == kButton || g->kind_ == kTextField || g->kind_ == kSlider;
}

std::vector<TGadget*> Core::TabStops(TGadget* container) {
  std::vector<TGadget*> stops;
  CollectTabStops(container, stops);
  return stops;
}

bool Core::KeyPressed(TGadget* window, Key key, bool shift) {
  if (!RaisesEvents(window) || window->kind_ != kWindow) return false;
  TGadget* focus = window->focus_;

  if (key == Key::kTab || key == Key::kEnter || key == Key::kEscape) {
    if (!focus) return true;  // the window itself: these keys do nothing
    TGadget* container = KeyboardContainer(focus);
    if (!container) return true;
    if (key == Key::kTab) {
      const std::vector<TGadget*> stops = TabStops(container);
      if (stops.empty()) return true;
      const auto n = static_cast<std::ptrdiff_t>(stops.size());
      const auto at = std::find(stops.begin(), stops.end(), focus);
      std::ptrdiff_t next = shift ? n - 1 : 0;
      if (at != stops.end()) next = ((at - stops.begin()) + (shift ? n - 1 : 1)) % n;
      SetFocus(window, stops[static_cast<std::size_t>(next)], true);
      return true;
    }
    if (key == Key::kEnter) {
      if (focus->kind_ == kTextArea) return false;  // a new line in the area
      if (focus->kind_ == kTextField) {
        SetFocus(window, container, false);
        focus = window->focus_;
      }
      if (focus && IsPushButton(focus)) {
        Click(focus);
      } else if (TGadget* button = DirectButton(container, button_style::kDefault)) {
        Click(button);
      }
      return true;
    }
    if (TGadget* button = DirectButton(container, button_style::kCancel)) Click(button);
    return true;
  }

  if (focus && focus->kind_ == kSlider) {
    SliderKey(focus, key);
    return true;
  }
  return false;
}

}  // namespace raziz::ui
