#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/label_fit.h"
#include "ui/widgets/gtk/gtk_controls.h"

namespace raziz::ui::gtk {

void TGtkLabel::NativeCreate() {
  GtkWidget* label = gtk_label_new("");
  gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
  gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD);
  gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
  switch (LabelAlignment(*this)) {
    case Alignment::kCentre:
      gtk_label_set_xalign(GTK_LABEL(label), 0.5f);
      gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
      break;
    case Alignment::kRight:
      gtk_label_set_xalign(GTK_LABEL(label), 1.0f);
      gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_RIGHT);
      break;
    default: gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
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

// The text measured on one line in the full font; the core decides whether a smaller font keeps it whole.
void TGtkLabel::FitText() {
  gtk_label_set_attributes(GTK_LABEL(widget_), nullptr);
  const Rect box = PlacedRect(*this);
  if (box.width <= 0 || box.height <= 0 || text().empty()) return;
  PangoLayout* layout = gtk_widget_create_pango_layout(widget_, text().c_str());
  int natural_width = 0, line_height = 0;
  pango_layout_get_pixel_size(layout, &natural_width, &line_height);
  g_object_unref(layout);
  const double scale = LabelFontScale(LabelMeasure{box.width, box.height, natural_width, line_height});
  if (scale == 1.0) return;
  PangoAttrList* attributes = pango_attr_list_new();
  pango_attr_list_insert(attributes, pango_attr_scale_new(scale));
  gtk_label_set_attributes(GTK_LABEL(widget_), attributes);
  pango_attr_list_unref(attributes);
}

}  // namespace raziz::ui::gtk
