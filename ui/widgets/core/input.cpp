// What a driver reports the user did. Input naming a gadget that was cleaned up, or that is still being
// created, is ignored: no event names it.

#include "ui/widgets/core/core.h"
#include "ui/widgets/core/layout_scale.h"

namespace raziz::ui::input {

void ContextMenu(TGadget* area, int x, int y) {
  if (Core::RaisesEvents(area) && area->kind() == kTextArea) Core::Raise(kGadgetMenu, area, 0, x, y);
}

void FocusGained(TGadget* gadget) {
  if (!Core::RaisesEvents(gadget) || gadget->kind() == kLabel || gadget->kind() == kMenuItem) return;
  TGadget* window = gadget->window();
  if (!window) return;
  Core::BecomeActive(window, false);
  Core::SetFocus(window, gadget, false);
}

void CloseAsked(TGadget* window) {
  if (Core::RaisesEvents(window) && window->kind() == kWindow) Core::Raise(kWindowClose, window);
}

void MenuChosen(TGadget* item) {
  if (!Core::RaisesEvents(item) || item->kind() != kMenuItem) return;
  if (!item->parent || item->parent->kind() != kMenuItem) return;  // a menu root is the bar, not an entry
  if (!item->kids.empty()) return;                                 // an item with children only opens its drop-down
  Core::Raise(kMenuAction, item, item->tag());
}

void WindowActivated(TGadget* window) {
  if (Core::RaisesEvents(window) && window->kind() == kWindow) Core::BecomeActive(window, false);
}

void AppSuspended() {
  Core::Deactivate();
  Core::Raise(kAppSuspend, nullptr);
}

void AppResumed() { Core::Raise(kAppResume, nullptr); }

void WindowMoved(TGadget* window, int x, int y) {
  if (!Core::RaisesEvents(window) || window->kind_ != kWindow) return;
  const LayoutScale scale = ScaleOf(*window);
  window->xpos = scale.Units(x);
  window->ypos = scale.Units(y);
  Core::Raise(kWindowMove, window, 0, window->xpos, window->ypos);
}

void WindowSized(TGadget* window, int width, int height) {
  if (!Core::RaisesEvents(window) || window->kind_ != kWindow) return;
  const LayoutScale scale = ScaleOf(*window);
  window->width = width < 0 ? 0 : scale.Units(width);
  window->height = height < 0 ? 0 : scale.Units(height);
  Core::Raise(kWindowSize, window, 0, window->width, window->height);
}

}  // namespace raziz::ui::input
