#pragma once
// How much the window manager's frame adds around a top-level window (_NET_FRAME_EXTENTS). Kept apart so
// that Xlib's macros stay out of the other sources.

#include <gtk/gtk.h>

namespace raziz::ui::gtk {

// Asks the window manager to publish the extents of a realized, not yet mapped window and waits (half a
// second at most) until it has. False when the window manager does not offer this, or not on X11.
bool await_frame_extents(GtkWidget* window, int extents[4]);

// Left, right, top, bottom; false when the window manager has not published them (or not on X11).
bool read_frame_extents(GtkWidget* window, int extents[4]);

// Where no window manager draws the frame (Wayland), GTK draws a title bar of its own inside the window: its
// height, from a realized window, as the top extent. False when the window has none.
bool client_side_title_bar(GtkWidget* window, int extents[4]);

}  // namespace raziz::ui::gtk
