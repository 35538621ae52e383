#include "ui/widgets/win32/win32_gadget.h"

#include "ui/widgets/core/contrast.h"
#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/input.h"
#include "ui/widgets/core/panel_paint.h"
#include "ui/widgets/win32/win32_dpi.h"
#include "ui/widgets/win32/win32_accessible.h"
#include "ui/widgets/win32/win32_paint.h"
#include "ui/widgets/win32/win32_platform.h"
#include "ui/widgets/win32/win32_quiet.h"
#include "ui/widgets/win32/win32_registry.h"
#include "ui/widgets/win32/win32_text.h"
#include "ui/widgets/win32/win32_controls.h"

namespace raziz::ui::win32 {
namespace {

constexpr UINT_PTR kHookId = 1;

LRESULT CALLBACK ControlHook(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR ref) {
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, ControlHook, kHookId);
    ForgetWindow(hwnd);
    return DefSubclassProc(hwnd, msg, w, l);
  }
  LRESULT result = 0;
  auto* gadget = reinterpret_cast<TWindowsGadget*>(ref);
  if (gadget && gadget->OnControlMessage(msg, w, l, result)) return result;
  return DefSubclassProc(hwnd, msg, w, l);
}

}  // namespace

TWindowsGadget::~TWindowsGadget() { DropWindows(); }

void TWindowsGadget::DropWindows() {
  if (hwnd_) {
    HWND hwnd = hwnd_;
    hwnd_ = client_ = nullptr;
    DestroyWindow(hwnd);  // its client window is a child and goes with it
  }
  if (backdrop_) DeleteObject(backdrop_);
  if (colour_brush_) DeleteObject(colour_brush_);
  backdrop_ = colour_brush_ = nullptr;
}

HWND TWindowsGadget::ContainerWindow() const {
  auto* container = dynamic_cast<TWindowsGadget*>(parent);
  return container ? container->client_window() : nullptr;
}

HWND TWindowsGadget::CreateControl(const wchar_t* window_class, DWORD control_style, DWORD ex_style) {
  HWND container = ContainerWindow();
  if (!container || !window_class) return nullptr;
  HWND hwnd = CreateWindowExW(ex_style, window_class, L"", control_style | WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                              container, nullptr, Instance(), nullptr);
  if (!hwnd) return nullptr;
  RegisterWindow(hwnd, this);
  SetWindowSubclass(hwnd, ControlHook, kHookId, reinterpret_cast<DWORD_PTR>(this));
  ProgramChange quiet;
  font_dpi_ = Dpi();
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont(font_dpi_)), FALSE);
  return hwnd;
}

UINT TWindowsGadget::Dpi() {
  if (auto* frame = dynamic_cast<TWindowsWindow*>(window())) return frame->dpi();
  return SystemDpi();
}

HFONT TWindowsGadget::Font() { return DefaultFont(Dpi()); }

void TWindowsGadget::ApplyFont() {
  // Only controls were given a font (font_dpi_ set); containers and frames have none to renew.
  if (!hwnd_ || font_dpi_ == 0 || font_dpi_ == Dpi()) return;
  font_dpi_ = Dpi();
  ProgramChange quiet;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont(font_dpi_)), TRUE);
}

HWND TWindowsGadget::CreateContainer(HWND parent_window, DWORD container_style, DWORD ex_style) {
  HWND hwnd = CreateWindowExW(ex_style, kContainerClass, L"", container_style, 0, 0, 0, 0, parent_window, nullptr,
                              Instance(), nullptr);
  RegisterWindow(hwnd, this);
  return hwnd;
}

bool TWindowsGadget::OnControlMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  if (msg == WM_GETOBJECT) return AnswerGetObject(w, l, result);
  if (msg == WM_SETFOCUS && !ProgramChange::InProgress()) {
    // The user put the focus here (a click): the control first takes it its own way, then the core hears.
    result = DefSubclassProc(hwnd_, msg, w, l);
    input::FocusGained(this);
    return true;
  }
  return false;
}

HBRUSH TWindowsGadget::BackdropBrush() {
  if (!backdrop_) backdrop_ = MakePatternBrush(ComposeBackdrop(*this));
  return backdrop_;
}

COLORREF TWindowsGadget::TextColour() const {
  if (const std::optional<Rgb> colour = TextColourFor(*this)) return RGB(colour->r, colour->g, colour->b);
  return GetSysColor(COLOR_BTNTEXT);
}

HBRUSH TWindowsGadget::OnControlColor(UINT /*msg*/, HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, TextColour());
  if (has_color()) {
    if (!colour_brush_) colour_brush_ = CreateSolidBrush(RGB(color().r, color().g, color().b));
    return colour_brush_;
  }
  return BackdropBrush();
}

void TWindowsGadget::PaintContainer(HDC dc, HWND which) {
  RECT rect;
  GetClientRect(which, &rect);
  const COLORREF face = has_color() ? RGB(color().r, color().g, color().b) : GetSysColor(COLOR_BTNFACE);
  HBRUSH brush = CreateSolidBrush(face);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void TWindowsGadget::ForgetBackdrops() {
  if (backdrop_) DeleteObject(backdrop_);
  if (colour_brush_) DeleteObject(colour_brush_);
  backdrop_ = colour_brush_ = nullptr;
  for (TGadget* kid : kids) {
    if (auto* windows_kid = dynamic_cast<TWindowsGadget*>(kid)) windows_kid->ForgetBackdrops();
  }
}

void TWindowsGadget::NativeText() {
  if (!hwnd_) return;
  ProgramChange quiet;
  SetWindowTextW(hwnd_, Widen(text()).c_str());
}

void TWindowsGadget::NativeGeometry() {
  if (!hwnd_) return;
  ApplyFont();  // a window moved to a screen of another density places everything again
  {
    const Rect placed = PlacedRect(*this);
    ProgramChange quiet;
    SetWindowPos(hwnd_, nullptr, placed.x, placed.y, placed.width, placed.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ForgetBackdrops();
}

void TWindowsGadget::NativeShow() {
  if (hwnd_) ShowWindow(hwnd_, SW_SHOWNA);
}

void TWindowsGadget::NativeFocus() {
  if (!hwnd_) return;
  ProgramChange quiet;
  SetFocus(hwnd_);
}

void TWindowsGadget::NativeAccessibleName() {
  named_ = true;
  NameChanged(hwnd_);
}

bool TWindowsGadget::AnswerGetObject(WPARAM w, LPARAM l, LRESULT& result) {
  return named_ && hwnd_ && win32::AnswerGetObject(hwnd_, w, l, accessible_name(), result);
}

void TWindowsGadget::NativeDestroy() { DropWindows(); }

std::intptr_t TWindowsGadget::NativeHandle(int which) {
  if (which == 1) return reinterpret_cast<std::intptr_t>(hwnd_);
  if (which == 2) return reinterpret_cast<std::intptr_t>(client_window());
  return 0;
}

}  // namespace raziz::ui::win32
