// The Linux program: the GTK driver under the platform-neutral program.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/program.h"
#include "ui/widgets/gtk/gtk_driver.h"

int main() {
  auto driver = raziz::ui::gtk::TGtkGUIDriver::Open();
  if (!driver) {
    std::fputs("raziz: cannot open a display\n", stderr);
    return 1;
  }
  raziz::ProgramOptions options;
  std::error_code error;
  options.executable_path = std::filesystem::read_symlink("/proc/self/exe", error);
  return raziz::run_program(*driver, options);
}
