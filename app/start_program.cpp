#include "app/program.h"
#include "app/program_folder.h"
#include "raziz/version.h"
#include "ui/widgets/core/driver.h"
#include "ui/widgets/core/event.h"
#include "ui/widgets/core/gadget.h"

namespace raziz {

void start_program(Program& program, ui::TGuiDriver& driver, const ProgramOptions& options) {
  // Before anything reads a file by bare name: the images sit next to the executable.
  enter_program_folder(options.executable_path);

  ui::StartWidgets(driver);
  start(program.bank, options.audio_output);

  program.main_window = ui::NewWindow(RAZIZ_VERSION_LINE, 100, 100, 809, 526, nullptr, ui::window_style::kTitleBar);

  ui::TGadget* root = program.main_window->GetMenu();
  program.file_menu = ui::NewMenuItem("File", 0, root, 0, 0);
  program.help_item = ui::NewMenuItem("Help", kHelpTag, program.file_menu, 0, 0);
  program.about_item = ui::NewMenuItem("About", kAboutTag, program.file_menu, 0, 0);
  program.exit_item = ui::NewMenuItem("Exit", kExitTag, program.file_menu, 0, 0);
  program.main_window->UpdateMenu();
  program.main_window->Activate(0);

  program.strips = build_strips(program.main_window);
  ui::pump_and_repaint(program.main_window);
}

}  // namespace raziz
