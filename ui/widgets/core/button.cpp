// A click on a button: a check box's mark flips before its action is raised.

#include "ui/widgets/core/core.h"

namespace raziz::ui {

void input::Clicked(TGadget* button) {
  if (!Core::RaisesEvents(button) || button->kind_ != kButton) return;
  int data = 0;
  switch (button->style & 7) {
    case button_style::kCheckBox:
      button->check_ = button->check_ == 1 ? 0 : 1;  // unchecked or indeterminate becomes checked
      button->NativeCheck();
      data = button->check_;
      break;
    case button_style::kRadio:
      button->check_ = 1;
      button->NativeCheck();
      data = 1;
      break;
    default: break;
  }
  Core::Raise(kGadgetAction, button, data);
}

}  // namespace raziz::ui
