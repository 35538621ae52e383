#include "ui/widgets/gtk/gtk_look.h"

#include <gtk/gtk.h>

#include "ui/widgets/gtk/program_icons.h"

namespace raziz::ui::gtk {

namespace {

// The theme's minimum sizes and paddings are made for roomier layouts than 50 x 18 fields and 58 x 34
// buttons; without these the text would sit outside the visible part of the control.
constexpr const char* kCss = R"css(
.raziz { font-size: 8pt; }
entry.raziz { min-height: 0; min-width: 0; padding: 0 3px; border-radius: 0;
              background-color: #ffffff; background-image: none; }
button.raziz { min-height: 0; min-width: 0; padding: 0 2px; }
checkbutton.raziz { min-height: 0; padding: 0; }
checkbutton.raziz check { margin: 0 3px 0 1px; }
scale.raziz { min-width: 0; min-height: 0; padding: 0; }
scale.raziz slider { min-width: 14px; min-height: 14px; margin: -6px; }
scrolledwindow.raziz { border-radius: 0; }
)css";

void load_icons() {
  GList* list = nullptr;
  for (const ProgramIcon& icon : program_icons()) {
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
    if (!loader) continue;
    if (gdk_pixbuf_loader_write(loader, icon.data, icon.size, nullptr) && gdk_pixbuf_loader_close(loader, nullptr)) {
      if (GdkPixbuf* pb = gdk_pixbuf_loader_get_pixbuf(loader)) list = g_list_append(list, g_object_ref(pb));
    } else {
      gdk_pixbuf_loader_close(loader, nullptr);
    }
    g_object_unref(loader);
  }
  if (list) {
    gtk_window_set_default_icon_list(list);
    g_list_free_full(list, g_object_unref);
  }
}

}  // namespace

void ApplyLook() {
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, kCss, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);
  g_object_set(gtk_settings_get_default(), "gtk-primary-button-warps-slider", FALSE, nullptr);
  load_icons();
}

}  // namespace raziz::ui::gtk
