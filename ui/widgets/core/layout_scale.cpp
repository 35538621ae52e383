#include "ui/widgets/core/layout_scale.h"

#include <cmath>

#include "ui/widgets/core/core.h"

namespace raziz::ui {

namespace {

constexpr double kSmallestScale = 0.5, kLargestScale = 8.0;

void PlaceTree(TGadget& g) {
  for (TGadget* kid : g.kids)
    if (kid->alive() && kid->kind() != kMenuItem) PlaceTree(*kid);
  Core::PlaceAgain(g);
}

}  // namespace

int LayoutScale::Px(long long units) const {
  if (factor == 1.0) return static_cast<int>(units);
  return static_cast<int>(std::lround(static_cast<double>(units) * factor));
}

int LayoutScale::Units(long long pixels) const {
  if (factor == 1.0) return static_cast<int>(pixels);
  return static_cast<int>(std::lround(static_cast<double>(pixels) / factor));
}

LayoutScale ScaleOf(const TGadget& gadget) {
  for (const TGadget* g = &gadget; g; g = g->parent)
    if (g->kind() == kWindow) return LayoutScale{g->layout_scale()};
  return LayoutScale{};
}

void SetLayoutScale(TGadget& window, double factor) { Core::Rescale(window, factor); }

void Core::Rescale(TGadget& window, double factor) {
  if (!window.alive_ || window.kind_ != kWindow) return;
  if (!std::isfinite(factor) || factor < kSmallestScale || factor > kLargestScale) factor = 1.0;
  if (factor == window.layout_scale_) return;
  window.layout_scale_ = factor;
  if (window.geometry_set_) PlaceTree(window);
}

void Core::PlaceAgain(TGadget& g) {
  if (g.geometry_set_) g.NativeGeometry();
}

}  // namespace raziz::ui
