#pragma once
// The Win32 driver: native windows, common controls and the message pump under the platform-neutral core.
// Including this header does not bring in <windows.h>.
//
// Supports:
//  - every gadget kind (window, button, panel, text field, text area, label, slider, menu item) with common
//    controls 6 and the rich edit control;
//  - per-monitor DPI (v2, with the system-aware fallback older Windows and wine need): the layout scaled by
//    the window's DPI, again on WM_DPICHANGED, fonts made for that DPI;
//  - files dropped on a window, application suspend and resume, the close box, the system menu's Close and
//    Alt+F4, moves and sizes the user makes.
// Does not support (yet):
//  - a status bar, hot keys shown in menus (the core keeps them, nothing reads them here);
//  - slider kinds other than the track bar: every slider is a track bar.

#include <cstdint>
#include <string_view>

#include "ui/widgets/core/driver.h"

namespace raziz::ui::win32 {

class TWindowsGUIDriver final : public TGuiDriver {
 public:
  // Starts COM/OLE for this thread and the common controls, takes the desktop's message font, loads the
  // rich edit control and registers the driver's window classes.
  TWindowsGUIDriver();

  TGadget* MakeGadget(int kind, int style) override;
  void PollMessages() override;
  void WaitMessages() override;
  void RepaintNow(std::intptr_t native_window) override;
  void OpenAddress(std::string_view address) override;
};

}  // namespace raziz::ui::win32
