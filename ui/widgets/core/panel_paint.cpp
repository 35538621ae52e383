// Panel faces: containers' faces behind, the panel's colour, then its image by its flags.

#include "ui/widgets/core/panel_paint.h"

#include <cmath>
#include <algorithm>
#include <cstddef>

#include "ui/widgets/core/gadget.h"
#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/layout_scale.h"
#include "ui/widgets/core/pixmap.h"

namespace raziz::ui {

namespace {

std::uint32_t Opaque(Rgb c) {
  return 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}

std::uint32_t Div255(std::uint32_t v) { return (v + 127) / 255; }

// Source pixel premultiplied as (c * a) >> 8, laid over a premultiplied destination.
std::uint32_t Over(std::uint32_t dst, std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
  const std::uint32_t keep = 255 - a;
  const std::uint32_t da = dst >> 24, dr = (dst >> 16) & 0xFF, dg = (dst >> 8) & 0xFF, db = dst & 0xFF;
  const std::uint32_t oa = a + Div255(da * keep);
  const std::uint32_t orr = ((r * a) >> 8) + Div255(dr * keep);
  const std::uint32_t og = ((g * a) >> 8) + Div255(dg * keep);
  const std::uint32_t ob = ((b * a) >> 8) + Div255(db * keep);
  return (oa << 24) | (orr << 16) | (og << 8) | ob;
}

void Fill(PanelImage& out, std::uint32_t pixel) { out.pixels.assign(out.pixels.size(), pixel); }

bool Usable(const TPixmap& p) {
  if (p.width <= 0 || p.height <= 0) return false;
  if (p.channels != 1 && p.channels != 3 && p.channels != 4) return false;
  return p.pixels.size() == static_cast<std::size_t>(p.width) * p.height * p.channels;
}

// Where the image lands on a panel of w x h: its drawn rectangle (dx, dy, dw, dh); tiled when `tiled`.
struct Placement {
  long long dx = 0, dy = 0, dw = 0, dh = 0;
  bool tiled = false;
};

Placement Place(const TPixmap& p, int flags, int w, int h) {
  const long long iw = p.width, ih = p.height;
  Placement at;
  switch (flags & 7) {
    case 1:
      at.dw = iw;
      at.dh = ih;
      break;
    case 2:  // by the smaller of the two ratios
      if (w * ih <= h * iw) {
        at.dw = w;
        at.dh = ih * w / iw;
      } else {
        at.dh = h;
        at.dw = iw * h / ih;
      }
      break;
    case 3:
      at.dw = w;
      at.dh = h;
      break;
    case 4:
      at.dw = w;
      at.dh = ih * w / iw;
      break;
    default:
      at.dw = iw;
      at.dh = ih;
      at.tiled = true;
      return at;
  }
  at.dx = (w - at.dw) / 2;
  at.dy = (h - at.dh) / 2;
  return at;
}

// Lays the panel's image over `out`, which shows the region `r` of the panel (panel coordinates).
void DrawImage(const TGadget& panel, const Rect& r, PanelImage& out) {
  const TPixmap& p = *panel.pixmap();
  if (!Usable(p)) return;
  const Placement at = Place(p, panel.pixmap_flags(), panel.width, panel.height);
  if (at.dw <= 0 || at.dh <= 0) return;
  for (int oy = 0; oy < out.height; ++oy) {
    const long long py = static_cast<long long>(r.y) + oy;
    if (py < 0 || py >= panel.height) continue;
    long long sy;
    if (at.tiled) {
      sy = py % p.height;
    } else {
      if (py < at.dy || py >= at.dy + at.dh) continue;
      sy = (py - at.dy) * p.height / at.dh;
    }
    for (int ox = 0; ox < out.width; ++ox) {
      const long long px = static_cast<long long>(r.x) + ox;
      if (px < 0 || px >= panel.width) continue;
      long long sx;
      if (at.tiled) {
        sx = px % p.width;
      } else {
        if (px < at.dx || px >= at.dx + at.dw) continue;
        sx = (px - at.dx) * p.width / at.dw;
      }
      const std::uint8_t* s = &p.pixels[(static_cast<std::size_t>(sy) * p.width + sx) * p.channels];
      std::uint32_t& d = out.pixels[static_cast<std::size_t>(oy) * out.width + ox];
      if (p.channels == 4) {
        d = Over(d, s[0], s[1], s[2], s[3]);
      } else if (p.channels == 3) {
        d = Opaque(Rgb{s[0], s[1], s[2]});
      } else {
        d = Opaque(Rgb{s[0], s[0], s[0]});
      }
    }
  }
}

// The face at a scale other than 1: the panel is `w` x `h` output pixels and `factor` output pixels make
// one layout unit. The image keeps its own size in units (drawn `factor` times larger), read from its
// double-size version where that is the closer one, sampled between pixels where the two do not line up.
void DrawImageScaled(const TGadget& panel, const Rect& r, PanelImage& out, int w, int h, double factor) {
  const TPixmap& src = PixmapForScale(*panel.pixmap(), factor);
  if (!Usable(src) || !Usable(*panel.pixmap())) return;
  const double per_unit = factor * panel.pixmap()->width / src.width;  // output pixels per source pixel
  const long long own_w = std::llround(src.width * per_unit), own_h = std::llround(src.height * per_unit);
  TPixmap own_size;  // only its size, for the placement
  own_size.width = static_cast<int>(std::max<long long>(1, own_w));
  own_size.height = static_cast<int>(std::max<long long>(1, own_h));
  const Placement at = Place(own_size, panel.pixmap_flags(), w, h);
  if (at.dw <= 0 || at.dh <= 0) return;
  const double kx = static_cast<double>(src.width) / (at.tiled ? src.width * per_unit : static_cast<double>(at.dw));
  const double ky = static_cast<double>(src.height) / (at.tiled ? src.height * per_unit : static_cast<double>(at.dh));
  const bool exact = std::abs(kx - 1.0) < 1e-9 && std::abs(ky - 1.0) < 1e-9;

  // Each tile is sampled on its own, clamped at its edges: a lamp or a backdrop shown once must not pick up
  // its opposite edge along its border.
  auto texel = [&](long long sx, long long sy, double out_px[4]) {
    sx = std::clamp<long long>(sx, 0, src.width - 1);
    sy = std::clamp<long long>(sy, 0, src.height - 1);
    const std::uint8_t* p = &src.pixels[(static_cast<std::size_t>(sy) * src.width + sx) * src.channels];
    const double a = src.channels == 4 ? p[3] : 255.0;
    const double rgb[3] = {static_cast<double>(p[0]), static_cast<double>(src.channels >= 3 ? p[1] : p[0]),
                           static_cast<double>(src.channels >= 3 ? p[2] : p[0])};
    for (int c = 0; c < 3; ++c) out_px[c] = rgb[c] * a / 255.0;  // premultiplied, so edges blend cleanly
    out_px[3] = a;
  };

  for (int oy = 0; oy < out.height; ++oy) {
    const long long py = static_cast<long long>(r.y) + oy;
    if (py < 0 || py >= h || (!at.tiled && (py < at.dy || py >= at.dy + at.dh))) continue;
    const double vy = (static_cast<double>(py - at.dy) + 0.5) * ky;
    const double fy = (at.tiled ? std::fmod(vy, src.height) : vy) - 0.5;
    for (int ox = 0; ox < out.width; ++ox) {
      const long long px = static_cast<long long>(r.x) + ox;
      if (px < 0 || px >= w || (!at.tiled && (px < at.dx || px >= at.dx + at.dw))) continue;
      const double vx = (static_cast<double>(px - at.dx) + 0.5) * kx;
      const double fx = (at.tiled ? std::fmod(vx, src.width) : vx) - 0.5;
      double sum[4] = {0, 0, 0, 0};
      if (exact) {
        texel(std::llround(fx), std::llround(fy), sum);
      } else {
        const double x0 = std::floor(fx), y0 = std::floor(fy);
        const double tx = fx - x0, ty = fy - y0;
        for (int j = 0; j < 2; ++j)
          for (int i = 0; i < 2; ++i) {
            const double weight = (i ? tx : 1 - tx) * (j ? ty : 1 - ty);
            if (weight == 0) continue;
            double t[4];
            texel(static_cast<long long>(x0) + i, static_cast<long long>(y0) + j, t);
            for (int c = 0; c < 4; ++c) sum[c] += weight * t[c];
          }
      }
      const auto a = static_cast<std::uint32_t>(std::clamp(std::lround(sum[3]), 0L, 255L));
      std::uint32_t& d = out.pixels[static_cast<std::size_t>(oy) * out.width + ox];
      if (a == 0) continue;
      auto straight = [&](double v) {
        return static_cast<std::uint32_t>(std::clamp(std::lround(v * 255.0 / sum[3]), 0L, 255L));
      };
      if (src.channels == 4) {
        d = Over(d, straight(sum[0]), straight(sum[1]), straight(sum[2]), a);
      } else {  // without alpha the picture covers what is behind, as at its own size
        d = Opaque(Rgb{static_cast<std::uint8_t>(straight(sum[0])), static_cast<std::uint8_t>(straight(sum[1])),
                       static_cast<std::uint8_t>(straight(sum[2]))});
      }
    }
  }
}

// Output pixels of a gadget's face at `device_scale` over its placed (layout-scaled) size.
int Scaled(int placed, double device_scale) {
  return device_scale == 1.0 ? placed : static_cast<int>(std::lround(placed * device_scale));
}

// Paints into `out` what the gadget's face shows over the region `r` of its own output pixels.
void PaintFace(const TGadget* g, const Rect& r, PanelImage& out, double device_scale) {
  if (!g || g->kind() == kDesktop) {
    Fill(out, 0);
    return;
  }
  if (g->has_color()) {
    Fill(out, Opaque(g->color()));
  } else if (g->kind() == kWindow || !g->parent) {
    Fill(out, 0);  // the platform's own face shows through
  } else {
    // Transparent: the container's face at this panel's place in it.
    const Rect at = PlacedRect(*g);
    const Rect inner = PlacedClientArea(*g->parent);
    PaintFace(
        g->parent,
        Rect{r.x + Scaled(at.x + inner.x, device_scale), r.y + Scaled(at.y + inner.y, device_scale), r.width, r.height},
        out, device_scale);
  }
  if (g->kind() != kPanel || !g->pixmap()) return;
  const double factor = ScaleOf(*g).factor * device_scale;
  if (factor == 1.0) {
    DrawImage(*g, r, out);
  } else {
    const Rect placed = PlacedRect(*g);
    DrawImageScaled(*g, r, out, Scaled(placed.width, device_scale), Scaled(placed.height, device_scale), factor);
  }
}

PanelImage Blank(int width, int height) {
  PanelImage image;
  image.width = width > 0 ? width : 0;
  image.height = height > 0 ? height : 0;
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
  return image;
}

}  // namespace

const TPixmap& PixmapForScale(const TPixmap& pixmap, double factor) {
  if (factor >= 1.5 && pixmap.double_size) return *pixmap.double_size;
  return pixmap;
}

PanelImage ComposePanel(const TGadget& panel, double device_scale) {
  const Rect placed = PlacedRect(panel);
  PanelImage image = Blank(Scaled(placed.width, device_scale), Scaled(placed.height, device_scale));
  PaintFace(&panel, Rect{0, 0, image.width, image.height}, image, device_scale);
  return image;
}

PanelImage ComposeBackdrop(const TGadget& control, double device_scale) {
  const Rect placed = PlacedRect(control);
  PanelImage image = Blank(Scaled(placed.width, device_scale), Scaled(placed.height, device_scale));
  if (!control.parent) return image;
  const Rect inner = PlacedClientArea(*control.parent);
  PaintFace(control.parent,
            Rect{Scaled(placed.x + inner.x, device_scale), Scaled(placed.y + inner.y, device_scale), image.width,
                 image.height},
            image, device_scale);
  return image;
}

}  // namespace raziz::ui
