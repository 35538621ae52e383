#include "ui/widgets/win32/windows_kinds.h"

namespace raziz::ui {

void TWindowsLabel::NativeCreate() {
  DWORD label_style = SS_NOPREFIX;  // an "&" shows as itself
  switch (style & 24) {
    case label_style::kRight:
      label_style |= SS_RIGHT;
      break;
    case label_style::kCentred:
      label_style |= SS_CENTER;
      break;
    default:
      label_style |= SS_LEFT;  // wraps at word boundaries, clipped at the bottom
      break;
  }
  switch (style & 7) {
    case 1:
      label_style |= WS_BORDER;
      break;
    case 2:
      label_style |= SS_SUNKEN;
      break;
    case 3:
      label_style = SS_ETCHEDHORZ;
      break;
    default:
      break;
  }
  hwnd_ = CreateControl(L"STATIC", label_style);
}

}  // namespace raziz::ui
