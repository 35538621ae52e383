#include "ui/widgets/win32/win32_registry.h"

#include <unordered_map>

namespace raziz::ui::win32 {
namespace {

std::unordered_map<HWND, TWindowsGadget*>& Windows() {
  static std::unordered_map<HWND, TWindowsGadget*> windows;
  return windows;
}

}  // namespace

void RegisterWindow(HWND hwnd, TWindowsGadget* gadget) {
  if (hwnd) Windows()[hwnd] = gadget;
}

void ForgetWindow(HWND hwnd) { Windows().erase(hwnd); }

TWindowsGadget* GadgetOf(HWND hwnd) {
  const auto found = Windows().find(hwnd);
  return found == Windows().end() ? nullptr : found->second;
}

TWindowsGadget* GadgetAt(HWND hwnd) {
  for (HWND h = hwnd; h; h = GetAncestor(h, GA_PARENT)) {
    if (TWindowsGadget* gadget = GadgetOf(h)) return gadget;
  }
  return nullptr;
}

}  // namespace raziz::ui::win32
