#include "ui/widgets/gtk/gtk_controls.h"

namespace raziz::ui::gtk {

void TGtkLabel::NativeCreate() {
  GtkWidget* label = gtk_label_new("");
  gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
  gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD);
  gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
  switch (style & 24) {
    case label_style::kCentred:
      gtk_label_set_xalign(GTK_LABEL(label), 0.5f);
      gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
      break;
    case label_style::kRight:
      gtk_label_set_xalign(GTK_LABEL(label), 1.0f);
      gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_RIGHT);
      break;
    default:
      gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
  }
  gtk_style_context_add_class(gtk_widget_get_style_context(label), "raziz");
  Adopt(label);
}

// Plain text: an "&" shows as itself and no markup is read.
void TGtkLabel::NativeText() { gtk_label_set_text(GTK_LABEL(widget_), text().c_str()); }

}  // namespace raziz::ui::gtk
