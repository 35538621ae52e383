#include <array>

#include "raziz/version.h"
#include "ui/dialogs/dialog_texts.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/run_modal.h"
#include "ui/widgets/core/event.h"
#include "ui/widgets/core/gadget.h"

namespace raziz {

void run_about(ui::TGadget* main_window) {
  using ui::button_style::kPushLook;
  ui::TGadget* window = ui::NewWindow(RAZIZ_VERSION_LINE, 250, 250, 364, 285, nullptr, ui::window_style::kTitleBar);
  ui::TGadget* ok = ui::NewButton(kOkCaption, 142, 210, 75, 23, window, ui::button_style::kDefault);
  ui::NewLabel(RAZIZ_VERSION_LINE, 60, 20, 241, 14, window, ui::label_style::kCentred);
  ui::NewLabel(kDisclaimer, 45, 80, 271, 14, window, ui::label_style::kLeft);
  const std::array<DialogLink, 3> links{{
      {ui::NewButton(kWebsiteCaption, 100, 108, 170, 23, window, kPushLook), kWebsiteAddress},
      {ui::NewButton(kFacebookCaption, 100, 138, 170, 23, window, kPushLook), kFacebookAddress},
      {ui::NewButton(kTwitterCaption, 100, 168, 170, 23, window, kPushLook), kTwitterAddress},
  }};

  ui::pump_and_repaint(window);
  run_modal(window, ok, links, main_window);
}

}  // namespace raziz
