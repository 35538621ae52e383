#include "ui/widgets/win32/win32_keys.h"

#include <optional>

#include "ui/widgets/core/input.h"
#include "ui/widgets/win32/win32_registry.h"
#include "ui/widgets/win32/win32_gadget.h"

namespace raziz::ui::win32 {
namespace {

std::optional<Key> KeyOf(WPARAM virtual_key) {
  switch (virtual_key) {
    case VK_TAB: return Key::kTab;
    case VK_RETURN: return Key::kEnter;
    case VK_ESCAPE: return Key::kEscape;
    case VK_UP: return Key::kUp;
    case VK_DOWN: return Key::kDown;
    case VK_LEFT: return Key::kLeft;
    case VK_RIGHT: return Key::kRight;
    case VK_PRIOR: return Key::kPageUp;
    case VK_NEXT: return Key::kPageDown;
    case VK_HOME: return Key::kHome;
    case VK_END: return Key::kEnd;
    default: return std::nullopt;
  }
}

}  // namespace

bool OfferKeyToCore(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  const std::optional<Key> key = KeyOf(msg.wParam);
  if (!key) return false;
  // Combinations with Ctrl or Alt stay the native widget's (Ctrl+Home in a field, say).
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  TWindowsGadget* gadget = GadgetAt(msg.hwnd);
  if (!gadget) return false;
  TGadget* window = gadget->window();
  if (!window) return false;
  return input::KeyPressed(window, *key, GetKeyState(VK_SHIFT) < 0);
}

}  // namespace raziz::ui::win32
