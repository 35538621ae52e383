#include "ui/widgets/win32/windows_kinds.h"

namespace raziz::ui {

std::intptr_t TWindowsDesktop::NativeHandle(int which) {
  return which == 1 || which == 2 ? reinterpret_cast<std::intptr_t>(GetDesktopWindow()) : 0;
}

}  // namespace raziz::ui
