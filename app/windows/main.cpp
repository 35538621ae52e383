// The Windows program: the Win32 driver under the platform-neutral program. Linked for the GUI subsystem,
// so no console opens.
#include <filesystem>
#include <string>

#include "app/program.h"
#include "ui/widgets/win32/win32_api.h"
#include "ui/widgets/win32/win32_driver.h"

namespace {

// The executable's own path; the buffer grows until the whole path fits.
std::filesystem::path ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

int main() {
  raziz::ui::win32::TWindowsGUIDriver driver;
  raziz::ProgramOptions options;
  options.executable_path = ExecutablePath();
  return raziz::run_program(driver, options);
}
