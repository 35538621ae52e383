// The window procedure of the driver's container windows (a window's client area, panels, a group panel's
// inner area): paints them from the core's faces and hands the notifications of the controls they hold to
// those controls' gadgets.

#include "ui/widgets/win32/win32_platform.h"
#include "ui/widgets/win32/win32_quiet.h"
#include "ui/widgets/win32/win32_registry.h"
#include "ui/widgets/win32/win32_gadget.h"
#include "ui/widgets/core/input.h"

namespace raziz::ui::win32 {

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  TWindowsGadget* self = GadgetOf(hwnd);
  switch (msg) {
    case WM_NCDESTROY: ForgetWindow(hwnd); break;
    case WM_COMMAND:
      if (l) {
        if (TWindowsGadget* control = GadgetOf(reinterpret_cast<HWND>(l))) {
          control->OnCommand(HIWORD(w));
          return 0;
        }
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(l);
      if (TWindowsGadget* control = GadgetOf(header->hwndFrom)) return control->OnNotify(*header);
      break;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (l) {
        if (TWindowsGadget* control = GadgetOf(reinterpret_cast<HWND>(l))) {
          control->OnScroll(LOWORD(w));
          return 0;
        }
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      if (TWindowsGadget* control = GadgetOf(reinterpret_cast<HWND>(l))) {
        if (HBRUSH brush = control->OnControlColor(msg, reinterpret_cast<HDC>(w))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      if (self) self->PaintContainer(dc, hwnd);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:  // a themed control asking for what lies behind it
      if (self) self->PaintContainer(reinterpret_cast<HDC>(w), hwnd);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (self) self->OnContainerClicked(hwnd);
      return 0;
    case WM_SETFOCUS:
      if (self && !ProgramChange::InProgress()) input::FocusGained(self);
      return 0;
    case WM_GETOBJECT:
      // A panel's own window speaks for it; a group panel's inner area is only where its children live.
      if (self && self->own_window() == hwnd) {
        if (LRESULT answer = 0; self->AnswerGetObject(w, l, answer)) return answer;
      }
      break;
    default: break;
  }
  return DefWindowProcW(hwnd, msg, w, l);
}

}  // namespace raziz::ui::win32
