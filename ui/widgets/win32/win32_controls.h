#pragma once
// One class per gadget kind, each making and updating its native peer.

#include <vector>

#include "ui/widgets/core/styles.h"
#include "ui/widgets/win32/win32_gadget.h"

namespace raziz::ui::win32 {

// The implicit container of every top-level window; it has no window of its own to make.
class TWindowsDesktop final : public TWindowsGadget {
 public:
  TWindowsDesktop() : TWindowsGadget(kDesktop, 0) {}

 protected:
  std::intptr_t NativeHandle(int which) override;
};

class TWindowsWindow final : public TWindowsGadget {
 public:
  explicit TWindowsWindow(int gadget_style) : TWindowsGadget(kWindow, gadget_style) {}

  LRESULT OnFrameMessage(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
  UINT dpi() const { return dpi_; }

 protected:
  void NativeCreate() override;
  void NativeGeometry() override;
  void NativeShow() override;
  void NativeFocus() override;
  void NativeActivate() override;
  void NativePaint() override;
  bool NativeMenuBar() override;
  void NativeDestroy() override;

 private:
  void FitClientWindow();
  // Sets the frame so that its client area holds the layout at the window's scale.
  void PlaceFrame();
  void DpiChanged(UINT new_dpi, const RECT* suggested);
  void UpdateIcons();
  bool AppendMenuItems(HMENU menu, const TGadget& parent);
  void DestroyMenuBar();

  UINT dpi_ = 96;
  bool placing_ = false;             // PlaceFrame is moving the frame
  UINT pending_dpi_ = 0;             // a DPI change met while placing, applied once placed
  const RECT* suggested_ = nullptr;  // where the system would put the frame after a DPI change
  HMENU menu_bar_ = nullptr;
  std::vector<TGadget*> menu_commands_;  // the item behind each menu command id, id 1 first
};

class TWindowsButton final : public TWindowsGadget {
 public:
  explicit TWindowsButton(int gadget_style) : TWindowsGadget(kButton, gadget_style) {}
  void OnCommand(int code) override;

 protected:
  void NativeCreate() override;
  void NativeCheck() override;
};

class TWindowsPanel final : public TWindowsGadget {
 public:
  explicit TWindowsPanel(int gadget_style) : TWindowsGadget(kPanel, gadget_style) {}
  void PaintContainer(HDC dc, HWND which) override;
  void OnContainerClicked(HWND which) override;

 protected:
  void NativeCreate() override;
  void NativeText() override;
  void NativeGeometry() override;
  void NativePaint() override;

 private:
  bool group() const { return IsGroupPanel(*this); }
  void PaintFrame(HDC dc, int w, int h);
};

class TWindowsTextField final : public TWindowsGadget {
 public:
  explicit TWindowsTextField(int gadget_style) : TWindowsGadget(kTextField, gadget_style) {}
  void OnCommand(int code) override;
  HBRUSH OnControlColor(UINT msg, HDC dc) override;

 protected:
  void NativeCreate() override;
  void NativeText() override;
  void NativeSelection() override;
};

class TWindowsTextArea final : public TWindowsGadget {
 public:
  explicit TWindowsTextArea(int gadget_style) : TWindowsGadget(kTextArea, gadget_style) {}
  void OnCommand(int code) override;
  LRESULT OnNotify(const NMHDR& header) override;
  bool OnControlMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 protected:
  void NativeCreate() override;
  void NativeText() override;
  void NativeSelection() override;

 private:
  std::wstring Contents() const;
};

class TWindowsLabel final : public TWindowsGadget {
 public:
  explicit TWindowsLabel(int gadget_style) : TWindowsGadget(kLabel, gadget_style) {}
  ~TWindowsLabel() override;

 protected:
  void NativeCreate() override;
  void NativeText() override;
  void ApplyFont() override;

 private:
  void FitText();

  HFONT fitted_font_ = nullptr;
};

class TWindowsSlider final : public TWindowsGadget {
 public:
  explicit TWindowsSlider(int gadget_style) : TWindowsGadget(kSlider, gadget_style) {}
  void OnScroll(int code) override;

 protected:
  void NativeCreate() override;
  void NativeGeometry() override;
  void NativeSlider() override;

 private:
  void UpdateTicks();
};

// A menu item has no window: its window's UpdateMenu makes the platform menus from the tree.
class TWindowsMenu final : public TGadget {
 public:
  explicit TWindowsMenu(int tag) : TGadget(kMenuItem, tag) {}
};

}  // namespace raziz::ui::win32
