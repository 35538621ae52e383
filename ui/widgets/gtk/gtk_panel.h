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

  // The picture changed (this panel's or a container's): compose it again at the next paint.
  void ForgetFace();

 protected:
  void NativeCreate() override;
  void NativeText() override;
  void NativeGeometry() override;
  void NativePaint() override;

 private:
  static void Paint(GtkWidget* widget, cairo_t* cr, void* self);
  void PaintFrame(GtkWidget* widget, cairo_t* cr, int w, int h);

  cairo_surface_t* face_ = nullptr;
  int face_scale_ = 1;  // the device scale the face was composed for
};

}  // namespace raziz::ui::gtk
