#pragma once
// Panels: plain (no border) or group (an etched frame with its caption in the top line). Their face is the
// core's composed picture (containers' faces, colour, image), painted from an off-screen surface in one step.

#include "ui/widgets/gtk/gtk_gadget.h"

namespace raziz::ui::gtk {

class TGtkPanel : public TGtkGadget {
 public:
  using TGtkGadget::TGtkGadget;
  ~TGtkPanel() override;

  GtkWidget* client_place() override { return widget_; }
  int client_dx() const override { return group() ? 4 : 0; }
  int client_dy() const override { return group() ? 16 : 0; }

  // The picture changed (this panel's or a container's): compose it again at the next paint.
  void ForgetFace();

 protected:
  void NativeCreate() override;
  void NativeText() override;
  void NativeGeometry() override;
  void NativePaint() override;

 private:
  bool group() const { return (style & 3) == panel_style::kGroup; }
  static void Paint(GtkWidget* widget, cairo_t* cr, void* self);
  void PaintFrame(GtkWidget* widget, cairo_t* cr);

  cairo_surface_t* face_ = nullptr;
};

}  // namespace raziz::ui::gtk
