#include "ui/widgets/core/testing.h"

#include "ui/widgets/core/core.h"

namespace raziz::ui {

void ResetWidgetsForTests() {
  auto& layer = detail::Layer();
  detail::ClearEventsForTests();
  // Children before their containers, so no destructor meets a freed parent.
  std::vector<TGadget*> all = layer.live;
  for (auto it = all.rbegin(); it != all.rend(); ++it) Core::ResetPrivate(*it);
  for (auto it = all.rbegin(); it != all.rend(); ++it) Core::Release(*it);
  for (TGadget* g : layer.dead) Core::Release(g);
  if (layer.desktop) Core::Release(layer.desktop);
  layer = detail::LayerState{};
}

}  // namespace raziz::ui
