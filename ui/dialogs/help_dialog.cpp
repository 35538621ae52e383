#include "raziz/version.h"
#include "ui/dialogs/dialog_texts.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/run_modal.h"
#include "ui/widgets/core/event.h"
#include "ui/widgets/core/gadget.h"

namespace raziz {

void run_help(ui::TGadget* main_window) {
  ui::TGadget* window = ui::NewWindow(kHelpTitle, 250, 250, 364, 285, nullptr, ui::window_style::kTitleBar);
  ui::TGadget* ok = ui::NewButton(kOkCaption, 142, 210, 75, 23, window, ui::button_style::kDefault);
  ui::NewLabel(RAZIZ_VERSION_LINE, 60, 20, 241, 14, window, ui::label_style::kCentred);
  ui::TGadget* text = ui::NewTextArea(25, 55, 300, 130, window, 0);
  text->SetText(kHelpText);

  ui::pump_and_repaint(window);
  run_modal(window, ok, {}, main_window);
}

}  // namespace raziz
