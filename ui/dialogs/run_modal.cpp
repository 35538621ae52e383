#include "ui/dialogs/run_modal.h"

#include "ui/widgets/core/driver.h"
#include "ui/widgets/core/event.h"
#include "ui/widgets/core/gadget.h"

namespace raziz {
namespace {

void dismiss(ui::TGadget* dialog, ui::TGadget* main_window) {
  dialog->CleanUp();
  ui::pump_and_repaint(main_window);
}

}  // namespace

void run_modal(ui::TGadget* dialog, ui::TGadget* ok_button, std::span<const DialogLink> links,
               ui::TGadget* main_window) {
  for (;;) {
    const int id = ui::TakeEvent();
    const ui::TGadget* source = ui::CurrentEvent().source;

    // The main window's close box too closes only the dialog: the program keeps running.
    if (id == ui::kWindowClose) return dismiss(dialog, main_window);

    if (id == ui::kGadgetAction) {
      if (source == ok_button) return dismiss(dialog, main_window);
      for (const DialogLink& link : links) {
        if (source == link.button) {
          ui::OpenAddress(link.address);
          return dismiss(dialog, main_window);
        }
      }
    }
    // Anything else, a strip's control or a menu command included, is dropped.
  }
}

}  // namespace raziz
