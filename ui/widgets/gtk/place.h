#pragma once
// A container that gives each child exactly the rectangle the program asked for, whatever the theme's
// minimum sizes, clips what its children draw to its own inner area, and lets its owner paint a face
// under them. GtkFixed alone grants every child at least its minimum size and clips nothing.

#include <gtk/gtk.h>

namespace raziz::ui::gtk {

using PaintFace = void (*)(GtkWidget* place, cairo_t* cr, void* owner);

GtkWidget* place_new();

// The child's rectangle, relative to the place's top-left corner.
void place_put(GtkWidget* place, GtkWidget* child, int x, int y, int width, int height);

// Children are drawn only inside this rectangle (default: the whole place).
void place_set_clip(GtkWidget* place, int x, int y, int width, int height);

// Called at the start of every draw, before the children draw over it.
void place_set_painter(GtkWidget* place, PaintFace paint, void* owner);

}  // namespace raziz::ui::gtk
