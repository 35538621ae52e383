#include "ui/widgets/win32/win32_controls.h"

namespace raziz::ui::win32 {

std::intptr_t TWindowsDesktop::NativeHandle(int which) {
  return which == 1 || which == 2 ? reinterpret_cast<std::intptr_t>(GetDesktopWindow()) : 0;
}

}  // namespace raziz::ui::win32
