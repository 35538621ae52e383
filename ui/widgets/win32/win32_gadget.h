#pragma once
// The base of every Win32 gadget that has platform windows: its own window (Query(1)) and, for windows and
// group panels, a separate window holding its children (Query(2)).

#include "ui/widgets/core/gadget.h"
#include "ui/widgets/win32/win32_api.h"

namespace raziz::ui::win32 {

class TWindowsGadget : public TGadget {
 public:
  TWindowsGadget(int gadget_kind, int gadget_style) : TGadget(gadget_kind, gadget_style) {}
  ~TWindowsGadget() override;

  HWND own_window() const { return hwnd_; }
  HWND client_window() const { return client_ ? client_ : hwnd_; }

  // What a control sends to its container, handed on by the container to the control.
  virtual void OnCommand(int /*code*/) {}
  virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
  virtual void OnScroll(int /*code*/) {}
  // WM_CTLCOLOR*: sets up `dc` and returns the brush for the control's background; null leaves the default.
  virtual HBRUSH OnControlColor(UINT msg, HDC dc);

  // A container window of this gadget (its client window, a panel or a group panel's inner area).
  virtual void PaintContainer(HDC dc, HWND which);
  virtual void OnContainerClicked(HWND /*which*/) {}

  // Forgets the backdrop brushes of this gadget and of everything inside it: what lies behind them changed.
  void ForgetBackdrops();

  // The DPI of the window this gadget is in, and the default font made for it.
  UINT Dpi();
  HFONT Font();

  // Messages of a hooked system control, before its own window procedure. True when handled.
  virtual bool OnControlMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result);

  // WM_GETOBJECT of the gadget's own window: true when answered with the gadget's accessible name, which it
  // has only once the program gave it one (otherwise the system's standard object speaks for it).
  bool AnswerGetObject(WPARAM w, LPARAM l, LRESULT& result);

 protected:
  // The window that holds this gadget's windows: its container's client window.
  HWND ContainerWindow() const;
  // Makes a system control as a hidden child of the container, with the default font, and hooks it.
  HWND CreateControl(const wchar_t* window_class, DWORD control_style, DWORD ex_style = 0);
  // Makes one of the driver's own container windows.
  HWND CreateContainer(HWND parent_window, DWORD container_style, DWORD ex_style = 0);

  // The brush showing this control's containers' faces at its rectangle, made on first use.
  HBRUSH BackdropBrush();
  // The colour of this control's text: one that reads on the background the layout fixes behind it, else
  // the system's colour for text on a face.
  COLORREF TextColour() const;
  // Gives the control the default font of its window's DPI, unless it already has it.
  virtual void ApplyFont();

  void NativeText() override;
  void NativeGeometry() override;
  void NativeShow() override;
  void NativeFocus() override;
  void NativeAccessibleName() override;
  void NativeDestroy() override;
  std::intptr_t NativeHandle(int which) override;

  HWND hwnd_ = nullptr;
  HWND client_ = nullptr;

 private:
  void DropWindows();

  HBRUSH backdrop_ = nullptr;
  HBRUSH colour_brush_ = nullptr;
  UINT font_dpi_ = 0;  // the DPI of the font the control was last given; 0 before it has one
  bool named_ = false;
};

}  // namespace raziz::ui::win32
