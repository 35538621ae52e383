#pragma once
// The Win32 driver: native windows, common controls and the message pump under the platform-neutral core.
// Including this header does not bring in <windows.h>.

#include <cstdint>
#include <string_view>

#include "ui/widgets/core/driver.h"

namespace raziz::ui {

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

}  // namespace raziz::ui
