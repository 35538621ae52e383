#pragma once
// The GTK side of every gadget: its native widget, where it sits in its container, focus and the
// accessible name. One class per kind derives from it.

#include <gtk/gtk.h>

#include <vector>

#include "ui/widgets/core/gadget.h"

namespace raziz::ui::gtk {

// A captureless lambda as a GLib signal callback.
template <typename F>
GCallback to_callback(F f) {
  return reinterpret_cast<GCallback>(+f);
}

class TGtkGadget : public TGadget {
 public:
  using TGadget::TGadget;

  GtkWidget* widget() const { return widget_; }

  // Where the children of this gadget live; the core's PlacedClientArea says where inside it.
  virtual GtkWidget* client_place() { return nullptr; }

  // A child has been given its rectangle (client coordinates of this gadget).
  virtual void ChildPlaced(TGtkGadget& /*child*/) {}

  // Draws the text in the colour the core fixes for it (on a background the layout fixes), or the theme's.
  virtual void ApplyTextColour();

  // True while the driver itself moves the keyboard focus, so the focus-in it causes is not a user action.
  static bool program_focus;

 protected:
  // The kind classes make widget_ in NativeCreate and call Adopt to put it into the container.
  void Adopt(GtkWidget* widget);
  gulong Connect(const char* signal, GCallback callback);
  gulong ConnectTo(gpointer instance, const char* signal, GCallback callback);

  void NativeGeometry() override;
  void NativeShow() override;
  void NativeFocus() override;
  void NativeAccessibleName() override;
  void NativePaint() override { ApplyTextColour(); }
  void NativeDestroy() override;
  std::intptr_t NativeHandle(int which) override;

  // Reports focus given by a click to the core (connected by Adopt for focusable kinds).
  void ReportFocusIn();

  TGtkGadget* container() const;

  GtkWidget* widget_ = nullptr;
  std::vector<std::pair<gpointer, gulong>> handlers_;
};

// The desktop: the container of every top-level window; it has no widget.
class TGtkDesktop : public TGtkGadget {
 public:
  TGtkDesktop() : TGtkGadget(kDesktop, 0) {}
};

}  // namespace raziz::ui::gtk
