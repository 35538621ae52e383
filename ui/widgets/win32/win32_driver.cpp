#include "ui/widgets/win32/win32_driver.h"

#include "ui/widgets/win32/win32_keys.h"
#include "ui/widgets/win32/win32_platform.h"
#include "ui/widgets/win32/win32_text.h"
#include "ui/widgets/win32/win32_controls.h"

namespace raziz::ui::win32 {

TWindowsGUIDriver::TWindowsGUIDriver() { StartPlatform(); }

TGadget* TWindowsGUIDriver::MakeGadget(int kind, int style) {
  switch (kind) {
    case kDesktop: return new TWindowsDesktop();
    case kWindow: return new TWindowsWindow(style);
    case kButton: return new TWindowsButton(style);
    case kPanel: return new TWindowsPanel(style);
    case kTextField: return new TWindowsTextField(style);
    case kTextArea: return new TWindowsTextArea(style);
    case kLabel: return new TWindowsLabel(style);
    case kSlider: return new TWindowsSlider(style);
    case kMenuItem: return new TWindowsMenu(style);
    default: return nullptr;
  }
}

void TWindowsGUIDriver::PollMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;  // the program ends its own way, never through a quit message
    if (OfferKeyToCore(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void TWindowsGUIDriver::WaitMessages() {
  // Returns as soon as anything is in the queue, including messages already there but not yet looked at.
  MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  PollMessages();
}

void TWindowsGUIDriver::RepaintNow(std::intptr_t native_window) {
  if (native_window) UpdateWindow(reinterpret_cast<HWND>(native_window));
}

void TWindowsGUIDriver::OpenAddress(std::string_view address) {
  // The default verb of whatever the system has registered for the address's scheme.
  ShellExecuteW(nullptr, nullptr, Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace raziz::ui::win32
