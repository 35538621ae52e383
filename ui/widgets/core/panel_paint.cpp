// Panel faces: containers' faces behind, the panel's colour, then its image by its flags.

#include "ui/widgets/core/panel_paint.h"

#include <cstddef>

#include "ui/widgets/core/gadget.h"
#include "ui/widgets/core/geometry.h"
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

// Paints into `out` what the gadget's face shows over the region `r` of its own coordinates.
void PaintFace(const TGadget* g, const Rect& r, PanelImage& out) {
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
    const Rect inner = ClientArea(*g->parent);
    PaintFace(g->parent, Rect{r.x + g->xpos + inner.x, r.y + g->ypos + inner.y, r.width, r.height}, out);
  }
  if (g->kind() == kPanel && g->pixmap()) DrawImage(*g, r, out);
}

PanelImage Blank(int width, int height) {
  PanelImage image;
  image.width = width > 0 ? width : 0;
  image.height = height > 0 ? height : 0;
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
  return image;
}

}  // namespace

PanelImage ComposePanel(const TGadget& panel) {
  PanelImage image = Blank(panel.width, panel.height);
  PaintFace(&panel, Rect{0, 0, image.width, image.height}, image);
  return image;
}

PanelImage ComposeBackdrop(const TGadget& control) {
  PanelImage image = Blank(control.width, control.height);
  if (!control.parent) return image;
  const Rect inner = ClientArea(*control.parent);
  PaintFace(control.parent, Rect{control.xpos + inner.x, control.ypos + inner.y, image.width, image.height},
            image);
  return image;
}

}  // namespace raziz::ui
