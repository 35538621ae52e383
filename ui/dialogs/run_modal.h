#pragma once
// The dialogs' private wait loop: it consumes every event, those of the main window included, until the
// dialog is dismissed.

#include <span>
#include <string_view>

namespace raziz::ui {
class TGadget;
}

namespace raziz {

// A button that opens a web address and then dismisses the dialog.
struct DialogLink {
  ui::TGadget* button = nullptr;
  std::string_view address;
};

// Returns once the dialog is dismissed: by its OK button, by a link (after opening its address), or by a
// close request from any window. Dismissing destroys the dialog and repaints the main window. Every other
// event is dropped.
void run_modal(ui::TGadget* dialog, ui::TGadget* ok_button, std::span<const DialogLink> links,
               ui::TGadget* main_window);

}  // namespace raziz
