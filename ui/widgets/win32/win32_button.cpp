#include "ui/widgets/core/input.h"
#include "ui/widgets/win32/win32_quiet.h"
#include "ui/widgets/win32/win32_controls.h"

namespace raziz::ui::win32 {

void TWindowsButton::NativeCreate() {
  DWORD kind_style = BS_PUSHBUTTON;
  switch (ButtonKindOf(*this)) {
    case ButtonKind::kCheckBox:
      kind_style = BS_CHECKBOX;  // not automatic: the core flips the mark
      break;
    case ButtonKind::kRadio: kind_style = BS_RADIOBUTTON; break;
    case ButtonKind::kDefault: kind_style = BS_DEFPUSHBUTTON; break;
    default: break;
  }
  if ((IsCheckBox(*this) || IsRadio(*this)) && !DrawnAsBox(*this)) kind_style |= BS_PUSHLIKE;
  hwnd_ = CreateControl(L"BUTTON", kind_style | BS_MULTILINE | WS_TABSTOP);
}

void TWindowsButton::NativeCheck() {
  if (!hwnd_) return;
  ProgramChange quiet;
  WPARAM mark = BST_UNCHECKED;
  if (check() == 1) mark = BST_CHECKED;
  if (check() == -1) {
    // Only a three-state box can show the grey mark; it is just as little automatic.
    const auto box_style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
    if ((box_style & BS_TYPEMASK) == BS_CHECKBOX) {
      SendMessageW(hwnd_, BM_SETSTYLE, (box_style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_3STATE, TRUE);
    }
    mark = BST_INDETERMINATE;
  }
  SendMessageW(hwnd_, BM_SETCHECK, mark, 0);
}

void TWindowsButton::OnCommand(int code) {
  if (code == BN_CLICKED && !ProgramChange::InProgress()) input::Clicked(this);
}

}  // namespace raziz::ui::win32
