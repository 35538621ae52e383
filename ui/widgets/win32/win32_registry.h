#pragma once
// Which gadget owns which platform window. Only windows the driver made are found; a window of the system
// (a menu, a tool tip) or of another program gives null.

#include "ui/widgets/win32/win32_api.h"

namespace raziz::ui::win32 {

class TWindowsGadget;

void RegisterWindow(HWND hwnd, TWindowsGadget* gadget);
void ForgetWindow(HWND hwnd);

// The gadget of `hwnd` itself, or null.
TWindowsGadget* GadgetOf(HWND hwnd);

// The gadget of `hwnd` or of its nearest ancestor window that is the driver's, or null.
TWindowsGadget* GadgetAt(HWND hwnd);

}  // namespace raziz::ui::win32
