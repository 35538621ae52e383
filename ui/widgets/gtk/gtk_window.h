#pragma once
// A top-level window: title bar with a close box, a menu bar, and a client area whose size is what the
// window's outer frame leaves once the window manager's decorations and the menu bar are taken off, but
// never less than the controls placed in it reach.

#include "ui/widgets/gtk/gtk_gadget.h"

namespace raziz::ui::gtk {

class TGtkWindow : public TGtkGadget {
 public:
  using TGtkGadget::TGtkGadget;

  GtkWidget* client_place() override { return place_; }
  void ChildPlaced(TGtkGadget& child) override;
  // The layout scale GTK's text size asks for; set before anything is placed.
  static double TextScale();

  // Left, right, top, bottom decoration widths the window manager reported; shared by all windows.
  struct Extents {
    int left = 0, right = 0, top = 0, bottom = 0;
  };

 protected:
  void NativeCreate() override;
  void NativeText() override;
  void NativeGeometry() override;
  void NativeShow() override;
  void NativeFocus() override;
  void NativeActivate() override;
  void NativePaint() override;
  bool NativeMenuBar() override;
  void NativeDestroy() override;

 private:
  void FitClientArea();
  void ReadFrameExtents();
  bool OnKeyPress(const GdkEventKey& event);
  void ClientPressed(int x, int y);

  GtkWidget* menu_bar_ = nullptr;
  GtkWidget* client_ = nullptr;  // an event box: its own window clips controls placed above or left of it
  GtkWidget* place_ = nullptr;
  int last_x_ = 0, last_y_ = 0, last_w_ = 0, last_h_ = 0;  // the frame as last reported, or as asked for
  bool placed_ = false;                                    // the frame has stood where it was asked for
};

}  // namespace raziz::ui::gtk
