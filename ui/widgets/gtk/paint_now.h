#pragma once
// Painting at once instead of at GTK's next frame: the program repaints a window before it blocks in a
// loop of its own, and a lamp change must show before the handler returns.

#include <gtk/gtk.h>

namespace raziz::ui::gtk {

inline void paint_now(GtkWidget* widget) {
  GdkWindow* window = widget ? gtk_widget_get_window(widget) : nullptr;
  if (!window) return;
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gdk_window_process_updates(window, TRUE);
  G_GNUC_END_IGNORE_DEPRECATIONS
  gdk_display_flush(gtk_widget_get_display(widget));
}

}  // namespace raziz::ui::gtk
