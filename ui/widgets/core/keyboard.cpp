// Keyboard navigation inside a window: Tab and Shift+Tab among the tab stops of the focused control's own
// container, Enter to the default button, Escape to the cancel button, and the slider keys.

#include <algorithm>

#include "ui/widgets/core/core.h"

namespace raziz::ui {

namespace {

// The window or panel that directly holds the focused control. A focused panel is the container of its own
// tab stops; one that holds none (a lamp) hands the keys on to its own container, or Tab and Enter would be
// stuck on it.
TGadget* KeyboardContainer(TGadget* focus) {
  if (focus->kind() == kPanel && !Core::TabStops(focus).empty()) return focus;
  return focus->parent;
}

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

// `mark` records how many stops come before `focus` in creation order, so a focused gadget that is no tab
// stop itself still has a place to go on from.
void CollectTabStops(TGadget* container, std::vector<TGadget*>& stops, const TGadget* focus = nullptr,
                     std::size_t* mark = nullptr) {
  for (TGadget* kid : container->kids) {
    if (!Core::RaisesEvents(kid)) continue;
    if (kid == focus && mark) *mark = stops.size();
    if (Core::IsTabStop(kid)) {
      stops.push_back(kid);
    } else if (kid->kind() == kPanel) {
      CollectTabStops(kid, stops, focus, mark);
    }
  }
}

}  // namespace

bool Core::IsTabStop(const TGadget* g) { return g->kind_ == kButton || g->kind_ == kTextField || g->kind_ == kSlider; }

std::vector<TGadget*> Core::TabStops(TGadget* container) {
  std::vector<TGadget*> stops;
  CollectTabStops(container, stops);
  return stops;
}

bool input::KeyPressed(TGadget* window, Key key, bool shift) {
  if (!Core::RaisesEvents(window) || window->kind_ != kWindow) return false;
  TGadget* focus = window->focus_;

  if (key == Key::kTab || key == Key::kEnter || key == Key::kEscape) {
    if (!focus) return true;  // the window itself: these keys do nothing
    TGadget* container = KeyboardContainer(focus);
    if (!container) return true;
    if (key == Key::kTab) {
      std::vector<TGadget*> stops;
      std::size_t mark = 0;  // a focused container goes to its first stop, or from the last back
      CollectTabStops(container, stops, focus, &mark);
      if (stops.empty()) return true;
      const std::size_t n = stops.size();
      const auto at = std::find(stops.begin(), stops.end(), focus);
      std::size_t next = 0;
      if (at != stops.end()) {
        const auto i = static_cast<std::size_t>(at - stops.begin());
        next = shift ? (i + n - 1) % n : (i + 1) % n;
      } else {
        next = shift ? (mark + n - 1) % n : mark % n;
      }
      Core::SetFocus(window, stops[next], true);
      return true;
    }
    if (key == Key::kEnter) {
      if (focus->kind_ == kTextArea) return false;  // a new line in the area
      if (focus->kind_ == kTextField) {
        Core::SetFocus(window, container, false);
        focus = window->focus_;
      }
      if (focus && IsPushButton(focus)) {
        Clicked(focus);
      } else if (TGadget* button = DirectButton(container, button_style::kDefault)) {
        Clicked(button);
      }
      return true;
    }
    if (TGadget* button = DirectButton(container, button_style::kCancel)) Clicked(button);
    return true;
  }

  if (focus && focus->kind_ == kSlider) {
    Core::SliderKey(focus, key);
    return true;
  }
  return false;
}

}  // namespace raziz::ui
