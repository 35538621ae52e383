#pragma once
// The seam between the platform-neutral core and a platform driver.

#include <cstdint>
#include <string_view>

namespace raziz::ui {

class TGadget;

class TGuiDriver {
 public:
  virtual ~TGuiDriver() = default;

  // The gadget object for a kind, of the driver's own class for that kind, or null for a kind it does not
  // know. Kind 0 is the desktop. The core sets parent, text and geometry and calls the Native* hooks.
  // The object is made with new and the core owns it: it deletes it once the gadget has been cleaned up and
  // no waiting or current event names it any longer. After NativeDestroy the driver reports no input for it.
  virtual TGadget* MakeGadget(int kind, int style) = 0;

  // Handle every pending platform message, pending repaints included, without waiting.
  virtual void PollMessages() = 0;

  // Sleep until a platform message arrives, then handle what is pending as PollMessages does.
  virtual void WaitMessages() = 0;

  // Paint at once whatever part of the native window (Query(1) of a window) awaits repainting.
  virtual void RepaintNow(std::intptr_t native_window) = 0;

  // Hand a web address to the system's default "open" action (never through a shell command line).
  virtual void OpenAddress(std::string_view address) = 0;
};

// Starts the widget layer once, before anything else is created. The driver lives until the process ends.
void StartWidgets(TGuiDriver& driver);

TGuiDriver& Driver();

// The implicit container of every top-level window.
TGadget* Desktop();

// Opens a web address through the driver.
void OpenAddress(std::string_view address);

}  // namespace raziz::ui
