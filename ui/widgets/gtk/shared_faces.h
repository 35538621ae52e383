#pragma once
// Panel faces live where the window's own pixels do (on X11 as server pixmaps), so a repaint is a copy
// there rather than an upload of the picture; and panels whose composed faces come out pixel for pixel the
// same (nine strips' slider backdrops, lamps showing the same picture) keep one face between them.

#include <cairo.h>

#include "ui/widgets/core/panel_paint.h"

namespace raziz::ui::gtk {

// A surface like `target` holding `image` (in device pixels, `device_scale` of them per unit): one already
// held by another panel when its pixels are the same, else a new one. The caller owns one reference and
// releases it with cairo_surface_destroy.
cairo_surface_t* SharedFace(const PanelImage& image, int device_scale, cairo_surface_t* target);

}  // namespace raziz::ui::gtk
