#pragma once
// The native gadgets of the headless driver: each records in its Peer what a platform would show.

#include "ui/widgets/headless/headless_driver.h"

namespace raziz::ui::headless {

class HeadlessGadget : public TGadget {
 public:
  HeadlessGadget(THeadlessDriver& driver, int kind, int style_bits) : TGadget(kind, style_bits), driver_(driver) {}
  Peer peer;

 protected:
  void NativeCreate() override;
  void NativeText() override;
  void NativeGeometry() override;
  void NativeShow() override;
  void NativeCheck() override { peer.check = check(); }
  void NativeFocus() override { driver_.NativeFocusMoved(this); }
  void NativePaint() override { Repaint(*this); }
  void NativeAccessibleName() override { peer.accessible_name = accessible_name(); }
  void NativeDestroy() override;
  std::intptr_t NativeHandle(int which) override { return which == 2 ? peer.client_handle : peer.handle; }

  // Paints the gadget and everything inside it, as a platform repaints a window and its children.
  static void Repaint(TGadget& gadget);

  THeadlessDriver& driver_;
};

class HeadlessWindow final : public HeadlessGadget {
 public:
  using HeadlessGadget::HeadlessGadget;

 protected:
  void NativeShow() override;
  void NativeActivate() override { driver_.NativeActiveWindow(this); }
  bool NativeMenuBar() override;
  void NativeDestroy() override;
};

class HeadlessTextBox final : public HeadlessGadget {  // text field and text area
 public:
  using HeadlessGadget::HeadlessGadget;

 protected:
  void NativeSelection() override;
};

class HeadlessSlider final : public HeadlessGadget {
 public:
  using HeadlessGadget::HeadlessGadget;

 protected:
  void NativeSlider() override;
  void NativeGeometry() override;
};

// Buttons, labels, panels, menu items and the desktop keep to the common peer.

}  // namespace raziz::ui::headless
