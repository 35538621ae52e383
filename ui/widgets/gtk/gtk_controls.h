#pragma once
// The control kinds: buttons and check boxes, labels, one-line text fields, the text area and sliders.

#include "ui/widgets/gtk/gtk_gadget.h"

namespace raziz::ui::gtk {

class TGtkButton : public TGtkGadget {
 public:
  using TGtkGadget::TGtkGadget;

 protected:
  void NativeCreate() override;
  void NativeText() override;
  void NativeCheck() override;

 public:
  void ApplyTextColour() override;

 private:
  bool check_box() const;
  GtkWidget* label_ = nullptr;
  gulong clicked_ = 0;
};

class TGtkLabel : public TGtkGadget {
 public:
  using TGtkGadget::TGtkGadget;

 protected:
  void NativeCreate() override;
  void NativeText() override;
  void NativeGeometry() override;

 private:
  void FitText();
};

class TGtkTextField : public TGtkGadget {
 public:
  using TGtkGadget::TGtkGadget;

 protected:
  void NativeCreate() override;
  void NativeText() override;
  void NativeSelection() override;

 private:
  void ApplySelection();
  std::vector<gulong> reports_;
};

class TGtkTextArea : public TGtkGadget {
 public:
  using TGtkGadget::TGtkGadget;

 protected:
  void NativeCreate() override;
  void NativeText() override;
  void NativeFocus() override;

 private:
  std::string Contents() const;
  GtkWidget* view_ = nullptr;
  GtkTextBuffer* buffer_ = nullptr;
  std::vector<gulong> reports_;
};

class TGtkSlider : public TGtkGadget {
 public:
  using TGtkGadget::TGtkGadget;

 protected:
  void NativeCreate() override;
  void NativeGeometry() override;
  void NativeSlider() override;

 private:
  void ApplyTicks();
  void Report();
  gulong moved_ = 0;
  gulong stepped_ = 0;
};

}  // namespace raziz::ui::gtk
