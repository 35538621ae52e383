#include "ui/widgets/core/shared_pixmaps.h"

#include <algorithm>
#include <vector>

namespace raziz::ui {
namespace {

bool same(const TPixmap* a, const TPixmap* b) {
  if (!a || !b) return a == b;
  return a->width == b->width && a->height == b->height && a->channels == b->channels && a->pixels == b->pixels &&
         same(a->double_size.get(), b->double_size.get());
}

}  // namespace

std::shared_ptr<const TPixmap> ShareIdentical(std::shared_ptr<const TPixmap> fresh) {
  if (!fresh) return fresh;
  // Images are loaded on the UI thread only.
  static std::vector<std::weak_ptr<const TPixmap>> handed_out;
  std::erase_if(handed_out, [](const std::weak_ptr<const TPixmap>& p) { return p.expired(); });
  for (const auto& weak : handed_out)
    if (auto shown = weak.lock(); shown && same(shown.get(), fresh.get())) return shown;
  handed_out.push_back(fresh);
  return fresh;
}

}  // namespace raziz::ui
