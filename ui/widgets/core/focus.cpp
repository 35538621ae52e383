// The active window and the keyboard focus. There is one keyboard focus in the process: on the active
// window itself or on one control in it; a text field that loses it drops its selection.

#include <algorithm>

#include "ui/widgets/core/core.h"

namespace raziz::ui {

void Core::LoseFocus(TGadget* field) {
  if (!field->alive_ || field->kind_ != kTextField) return;
  field->selection_start_ = 0;
  field->selection_end_ = 0;
  field->NativeSelection();
  Raise(kGadgetLostFocus, field);
}

void Core::SetFocus(TGadget* window, TGadget* target, bool select_all) {
  if (!window || !window->alive_) return;
  if (target == window) target = nullptr;
  TGadget* old = window->focus_;
  window->focus_ = target;
  if (old && old != target) LoseFocus(old);
  if (target && select_all && target->kind_ == kTextField) {
    target->selection_start_ = 0;
    target->selection_end_ = static_cast<int>(target->text_.size());
    target->NativeSelection();
  }
  if (old == target) return;
  if (target) {
    target->NativeFocus();
  } else {
    window->NativeFocus();
  }
}

void Core::Deactivate() {
  auto& layer = detail::Layer();
  TGadget* old = layer.active_window;
  layer.active_window = nullptr;
  if (!old || !old->alive_) return;
  TGadget* focus = old->focus_;
  old->focus_ = nullptr;
  if (focus) LoseFocus(focus);
}

void Core::BecomeActive(TGadget* window, bool tell_platform) {
  auto& layer = detail::Layer();
  if (!window || !window->alive_ || window->kind_ != kWindow) return;
  if (layer.active_window == window) return;
  Deactivate();
  layer.active_window = window;
  auto& order = layer.activation_order;
  order.erase(std::remove(order.begin(), order.end(), window), order.end());
  order.push_back(window);
  if (tell_platform) window->NativeActivate();
  // A window that has just become active holds the keyboard focus itself.
  TGadget* old_focus = window->focus_;
  window->focus_ = nullptr;
  if (old_focus) LoseFocus(old_focus);
  window->NativeFocus();
  Raise(kWindowActivate, window);
}

void Core::ShowWindow(TGadget* window) {
  auto& layer = detail::Layer();
  if (layer.hidden_windows.erase(window)) {
    window->NativeShow();
    BecomeActive(window, false);
  } else {
    BecomeActive(window, true);
  }
}

void Core::ActivateWithFirstTabStop(TGadget* window) {
  ShowWindow(window);
  const std::vector<TGadget*> stops = TabStops(window);
  SetFocus(window, stops.empty() ? nullptr : stops.front(), false);
}

}  // namespace raziz::ui
