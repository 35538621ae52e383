#include "ui/widgets/core/contrast.h"

#include <cmath>

#include "ui/widgets/core/styles.h"

namespace raziz::ui {

namespace {

double Linear(std::uint8_t c) {
  const double s = c / 255.0;
  return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

}  // namespace

double RelativeLuminance(Rgb c) { return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b); }

double ContrastRatio(Rgb a, Rgb b) {
  double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  if (la < lb) std::swap(la, lb);
  return (la + 0.05) / (lb + 0.05);
}

Rgb TextColourOn(Rgb background) {
  return ContrastRatio(background, kBlack) >= ContrastRatio(background, kWhite) ? kBlack : kWhite;
}

std::optional<Rgb> FixedBackground(const TGadget& g) {
  if (g.kind() == kTextField) return g.has_color() ? g.color() : kWhite;
  const TGadget* from = nullptr;
  if (g.kind() == kLabel || (g.kind() == kButton && DrawnAsBox(g))) {
    from = g.parent;
  } else if (IsGroupPanel(g)) {
    from = &g;  // its caption sits on its own face
  } else {
    return std::nullopt;
  }
  for (const TGadget* c = from; c && c->kind() != kDesktop; c = c->parent) {
    if (c->has_color()) return c->color();
    if (c->kind() == kWindow) break;
  }
  return std::nullopt;
}

std::optional<Rgb> TextColourFor(const TGadget& g) {
  if (g.has_text_color()) return g.text_color();
  if (const auto background = FixedBackground(g)) return TextColourOn(*background);
  return std::nullopt;
}

}  // namespace raziz::ui
