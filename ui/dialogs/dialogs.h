#pragma once
// The File menu's Help and About windows. Each is built afresh, runs its own wait loop and is destroyed when
// dismissed; the main window is repainted then.

namespace raziz::ui {
class TGadget;
}

namespace raziz {

void run_help(ui::TGadget* main_window);
void run_about(ui::TGadget* main_window);

}  // namespace raziz
