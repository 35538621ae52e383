#include "ui/widgets/gtk/text_colour.h"

#include <cstdio>

namespace raziz::ui::gtk {

namespace {

constexpr const char* kProviderKey = "raziz-text-colour";

}  // namespace

void set_text_colour(GtkWidget* widget, std::optional<Rgb> colour) {
  GtkStyleContext* context = gtk_widget_get_style_context(widget);
  if (auto* old = static_cast<GtkStyleProvider*>(g_object_get_data(G_OBJECT(widget), kProviderKey))) {
    gtk_style_context_remove_provider(context, old);
    g_object_set_data(G_OBJECT(widget), kProviderKey, nullptr);
  }
  if (!colour) return;
  // The caret follows the text; a theme that draws light text on its own dark fields would otherwise keep a
  // light caret on the white the layout fixes.
  char css[160];
  std::snprintf(css, sizeof css, "* { color: #%02x%02x%02x; caret-color: #%02x%02x%02x; }", colour->r, colour->g,
                colour->b, colour->r, colour->g, colour->b);
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, css, -1, nullptr);
  // Above the program's own look, which sits at the application priority for the whole screen.
  gtk_style_context_add_provider(context, GTK_STYLE_PROVIDER(provider), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1);
  g_object_set_data_full(G_OBJECT(widget), kProviderKey, provider, g_object_unref);
}

}  // namespace raziz::ui::gtk
