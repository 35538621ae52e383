#include "ui/widgets/gtk/gtk_panel.h"

#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/panel_paint.h"
#include "ui/widgets/gtk/paint_now.h"
#include "ui/widgets/gtk/place.h"
#include "ui/widgets/gtk/shared_faces.h"

namespace raziz::ui::gtk {

namespace {

// A container's new colour or image changes what every panel inside shows, and what text reads on it.
void refresh_below(TGadget& g) {
  for (TGadget* kid : g.kids) {
    if (auto* p = dynamic_cast<TGtkPanel*>(kid)) p->ForgetFace();
    if (auto* gadget = dynamic_cast<TGtkGadget*>(kid)) gadget->ApplyTextColour();
    refresh_below(*kid);
  }
}

}  // namespace

TGtkPanel::~TGtkPanel() { ForgetFace(); }

void TGtkPanel::ForgetFace() {
  if (face_) cairo_surface_destroy(face_);
  face_ = nullptr;
}

void TGtkPanel::NativeCreate() {
  Adopt(place_new());
  place_set_painter(widget_, &TGtkPanel::Paint, this);
}

void TGtkPanel::NativeText() {
  if (IsGroupPanel(*this)) gtk_widget_queue_draw(widget_);
}

void TGtkPanel::NativeGeometry() {
  TGtkGadget::NativeGeometry();
  const Rect placed = PlacedRect(*this);
  gtk_widget_set_size_request(widget_, placed.width, placed.height);
  const Rect inner = PlacedClientArea(*this);
  place_set_clip(widget_, inner.x, inner.y, inner.width, inner.height);
  ForgetFace();
}

void TGtkPanel::NativePaint() {
  ForgetFace();
  ApplyTextColour();
  refresh_below(*this);
  gtk_widget_queue_draw(widget_);
  paint_now(widget_);
}

void TGtkPanel::Paint(GtkWidget* widget, cairo_t* cr, void* self) {
  auto* panel = static_cast<TGtkPanel*>(self);
  const Rect placed = PlacedRect(*panel);
  if (!panel->alive() || placed.width <= 0 || placed.height <= 0) return;
  // Without an image the face is plain: its colour, or (none set) its containers' faces, which they have
  // painted underneath already. Only an image needs the composed picture, kept as an off-screen surface.
  if (!panel->pixmap()) {
    if (panel->has_color()) {
      const Rgb c = panel->color();
      cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
      cairo_rectangle(cr, 0, 0, placed.width, placed.height);
      cairo_fill(cr);
    }
    if (IsGroupPanel(*panel)) panel->PaintFrame(widget, cr, placed.width, placed.height);
    return;
  }
  // Composed in device pixels, so that a screen at twice the density gets the double-size picture crisp.
  const int device_scale = std::max(1, gtk_widget_get_scale_factor(widget));
  if (panel->face_ && panel->face_scale_ != device_scale) panel->ForgetFace();
  if (!panel->face_) {
    const PanelImage image = ComposePanel(*panel, device_scale);
    if (image.width > 0 && image.height > 0) {
      panel->face_ = SharedFace(image, device_scale, cairo_get_target(cr));
      panel->face_scale_ = device_scale;
    }
  }
  if (panel->face_) {
    cairo_set_source_surface(cr, panel->face_, 0, 0);
    cairo_paint(cr);
  }
  if (IsGroupPanel(*panel)) panel->PaintFrame(widget, cr, placed.width, placed.height);
}

// An etched line (shadow, then light one pixel lower and to the right) around the panel, its top line
// half a text line down, broken where the caption sits.
void TGtkPanel::PaintFrame(GtkWidget* widget, cairo_t* cr, int w, int h) {
  PangoLayout* layout = gtk_widget_create_pango_layout(widget, text().c_str());
  int text_w = 0, text_h = 0;
  pango_layout_get_pixel_size(layout, &text_w, &text_h);
  const double top = (text_h > 0 ? text_h / 2 : 7) + 0.5;
  const double left = 0.5, right = w - 1.5, bottom = h - 1.5;
  const double gap_from = 6, gap_to = text().empty() ? 6 : 6 + text_w + 4;

  auto outline = [&](double d) {
    cairo_move_to(cr, gap_from + d, top + d);
    cairo_line_to(cr, left + d, top + d);
    cairo_line_to(cr, left + d, bottom + d);
    cairo_line_to(cr, right + d, bottom + d);
    cairo_line_to(cr, right + d, top + d);
    cairo_line_to(cr, gap_to + d, top + d);
  };
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgb(cr, 1, 1, 1);
  outline(1);
  cairo_stroke(cr);
  cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
  outline(0);
  cairo_stroke(cr);

  if (!text().empty()) {
    GtkStyleContext* sc = gtk_widget_get_style_context(widget);
    gtk_render_layout(sc, cr, 8, 0, layout);
  }
  g_object_unref(layout);
}

}  // namespace raziz::ui::gtk
