#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/input.h"
#include "ui/widgets/win32/win32_quiet.h"
#include "ui/widgets/win32/win32_controls.h"

#include <algorithm>

namespace raziz::ui::win32 {

void TWindowsSlider::NativeCreate() {
  // Every slider kind is shown as a track bar; the program uses the vertical one only.
  const DWORD orientation = IsHorizontal(*this) ? TBS_HORZ : TBS_VERT;
  hwnd_ = CreateControl(TRACKBAR_CLASSW, orientation | TBS_BOTH | TBS_NOTICKS | WS_TABSTOP);
  NativeSlider();
}

void TWindowsSlider::UpdateTicks() {
  const bool ticks = SliderShowsTicks(*this);
  auto current = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
  const DWORD wanted = ticks ? (current & ~static_cast<DWORD>(TBS_NOTICKS)) | TBS_AUTOTICKS
                             : (current & ~static_cast<DWORD>(TBS_AUTOTICKS)) | TBS_NOTICKS;
  if (wanted != current) SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(wanted));
  if (ticks) SendMessageW(hwnd_, TBM_SETTICFREQ, 1, 0);
}

void TWindowsSlider::NativeSlider() {
  if (!hwnd_) return;
  ProgramChange quiet;
  UpdateTicks();
  SendMessageW(hwnd_, TBM_SETRANGEMIN, FALSE, slider_min());
  SendMessageW(hwnd_, TBM_SETRANGEMAX, FALSE, slider_max());
  SendMessageW(hwnd_, TBM_SETLINESIZE, 0, 1);
  SendMessageW(hwnd_, TBM_SETPAGESIZE, 0, std::max(1, (slider_max() - slider_min()) / 5));
  SendMessageW(hwnd_, TBM_SETPOS, TRUE, slider_position());
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TWindowsSlider::NativeGeometry() {
  TWindowsGadget::NativeGeometry();
  NativeSlider();  // whether ticks fit depends on the length
}

void TWindowsSlider::OnScroll(int /*code*/) {
  // Every notification (a drag step, a key, a groove click, the end of a drag) goes to the core, which
  // raises an action only when the value differs from the last one.
  if (!hwnd_ || ProgramChange::InProgress()) return;
  input::SliderMoved(this, static_cast<int>(SendMessageW(hwnd_, TBM_GETPOS, 0, 0)));
}

}  // namespace raziz::ui::win32
