#pragma once
// A widget's own text colour, above whatever the theme says, or back to the theme's.

#include <gtk/gtk.h>

#include <optional>

#include "ui/widgets/core/gadget.h"

namespace raziz::ui::gtk {

void set_text_colour(GtkWidget* widget, std::optional<Rgb> colour);

}  // namespace raziz::ui::gtk
