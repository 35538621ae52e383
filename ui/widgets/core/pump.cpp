// The message pump: Poll and Wait with their guard against re-entry, and the immediate repaint.

#include "ui/widgets/core/core.h"

namespace raziz::ui {

void Poll() {
  auto& layer = detail::Layer();
  if (layer.dispatch_depth > 0) return;
  detail::DispatchScope scope;
  Driver().PollMessages();
}

void Wait() {
  auto& layer = detail::Layer();
  if (layer.dispatch_depth > 0) return;
  detail::DispatchScope scope;
  Driver().WaitMessages();
}

void pump_and_repaint(TGadget* window) {
  Poll();
  if (window && window->alive()) Driver().RepaintNow(window->Query(1));
}

}  // namespace raziz::ui
