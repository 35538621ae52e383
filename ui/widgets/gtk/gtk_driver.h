#pragma once
// The GTK 3 driver: makes the gadget classes of each kind and runs GTK's main context for the core.
//
// Supports:
//  - every gadget kind (window, button, panel, text field, text area, label, slider, menu item), on X11 and
//    on Wayland;
//  - the layout scaled by the desktop's text size (GDK applies the device scale itself); double-size images
//    where the window's scale is 1.5 or more;
//  - accessible names for screen readers, as the core gives them;
//  - a right click in a text area, the close box, the window's own moves and sizes once it is placed.
// Does not support (yet):
//  - files dropped on a window, application suspend and resume events, a status bar;
//  - hot keys shown in menus (the core keeps them, nothing reads them here);
//  - slider kinds other than the track bar: every slider is a GtkScale;
//  - on Wayland, the compositor places windows: a window's asked-for position is not honoured, and there
//    is no window icon.

#include <memory>

#include "ui/widgets/core/driver.h"

namespace raziz::ui::gtk {

class TGtkGUIDriver : public TGuiDriver {
 public:
  // Connects to the display; null when there is none.
  static std::unique_ptr<TGtkGUIDriver> Open();

  TGadget* MakeGadget(int kind, int style) override;
  void PollMessages() override;
  void WaitMessages() override;
  void RepaintNow(std::intptr_t native_window) override;
  void OpenAddress(std::string_view address) override;

 private:
  TGtkGUIDriver() = default;
};

}  // namespace raziz::ui::gtk
