#pragma once
// The pixels of panel backgrounds, composed once here so that every driver shows the same picture.
// Pixels are premultiplied 0xAARRGGBB words (cairo's ARGB32, a Win32 32-bit top-down DIB). A pixel with alpha 0
// shows the platform's own background (the window face of the theme) through it.

#include <cstdint>
#include <vector>

namespace raziz::ui {

class TGadget;
struct TPixmap;

struct PanelImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // rows packed, top row first
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A panel's own face at its size: what shows behind it (its containers' faces), then its colour over the
// whole rectangle, then its image placed by its flags (0 tiled from the corner, 1 centred, 2 fitted, 3
// stretched, 4 scaled to the width), each image pixel premultiplied as (c * a) >> 8 and laid with the over
// operator. The group frame is the driver's to draw over this.
// The face is made at the panel's placed size (its window's layout scale) times `device_scale` (the
// platform's own pixels per logical pixel, 1 where the layout scale already is the whole scale); an image
// keeps its own size in layout units. At a total scale of 1 it is pixel for pixel the image.
PanelImage ComposePanel(const TGadget& panel, double device_scale = 1.0);

// What shows around a check box, label or slider: its containers' faces at the control's rectangle.
PanelImage ComposeBackdrop(const TGadget& control, double device_scale = 1.0);

// The picture to read for drawing `pixmap` `factor` times its size: its double-size version from 1.5 on,
// when it has one, so large screens get crisp detail instead of blown-up pixels.
const TPixmap& PixmapForScale(const TPixmap& pixmap, double factor);

}  // namespace raziz::ui
