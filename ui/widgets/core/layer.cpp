// The layer's one set of global state, and the start of the layer with its driver.

#include <cstdio>
#include <cstdlib>

#include "ui/widgets/core/core.h"
#include "ui/widgets/core/driver.h"
#include "ui/widgets/core/gadget_registry.h"

namespace raziz::ui {

namespace detail {

LayerState& Layer() {
  static LayerState state;
  return state;
}

}  // namespace detail

void StartWidgets(TGuiDriver& driver) {
  auto& layer = detail::Layer();
  if (layer.driver) return;  // started once; the first driver stays
  layer.driver = &driver;
  layer.desktop = driver.MakeGadget(kDesktop, 0);
  if (!layer.desktop) layer.desktop = new TGadget(kDesktop, 0);
}

TGuiDriver& Driver() {
  auto* driver = detail::Layer().driver;
  if (!driver) {
    // A program error, not a run-time condition: nothing can be shown without a driver.
    std::fputs("widget layer used before StartWidgets\n", stderr);
    std::abort();
  }
  return *driver;
}

TGadget* Desktop() {
  Driver();
  return detail::Layer().desktop;
}

void OpenAddress(std::string_view address) { Driver().OpenAddress(address); }

std::vector<TGadget*> LiveGadgets() { return detail::Layer().live; }

std::size_t HeldDeadGadgets() { return detail::Layer().dead.size(); }

}  // namespace raziz::ui
