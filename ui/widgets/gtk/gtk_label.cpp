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
void TGtkLabel::NativeText() {
  gtk_label_set_text(GTK_LABEL(widget_), text().c_str());
  FitText();
}

void TGtkLabel::NativeGeometry() {
  TGtkGadget::NativeGeometry();
  FitText();
}

// The layouts were drawn for a narrower dialog font than most desktops use. A one-line label whose text
// would wrap into a line its height then clips is set a little smaller instead, so the whole sentence stays
// readable; beyond a fifth smaller it wraps and clips as any label does.
void TGtkLabel::FitText() {
  constexpr double kSmallest = 0.8;
  gtk_label_set_attributes(GTK_LABEL(widget_), nullptr);
  if (width <= 0 || height <= 0 || text().empty()) return;
  PangoLayout* layout = gtk_widget_create_pango_layout(widget_, text().c_str());
  int natural_width = 0, line_height = 0;
  pango_layout_get_pixel_size(layout, &natural_width, &line_height);
  g_object_unref(layout);
  if (natural_width <= width || height >= 2 * line_height) return;
  const double scale = static_cast<double>(width - 1) / natural_width;
  if (scale < kSmallest) return;
  PangoAttrList* attributes = pango_attr_list_new();
  pango_attr_list_insert(attributes, pango_attr_scale_new(scale));
  gtk_label_set_attributes(GTK_LABEL(widget_), attributes);
  pango_attr_list_unref(attributes);
}

}  // namespace raziz::ui::gtk
