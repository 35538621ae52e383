#pragma once
// The GTK 3 driver: makes the gadget classes of each kind and runs GTK's main context for the core.

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
