#pragma once
// Panels whose composed faces come out pixel for pixel the same (nine strips' slider backdrops, lamps
// showing the same picture) keep one surface between them instead of one each.

#include <cairo.h>

#include "ui/widgets/core/panel_paint.h"

namespace raziz::ui::gtk {

// A surface holding `image` at `device_scale`: one already held by another panel when its pixels are the
// same, else a new one. The caller owns one reference and releases it with cairo_surface_destroy.
cairo_surface_t* SharedFace(const PanelImage& image, int device_scale);

}  // namespace raziz::ui::gtk
