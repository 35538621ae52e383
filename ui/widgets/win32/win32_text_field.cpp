#include "ui/widgets/core/input.h"
#include "ui/widgets/win32/win32_quiet.h"
#include "ui/widgets/win32/win32_text.h"
#include "ui/widgets/win32/win32_controls.h"

#include <string>

namespace raziz::ui::win32 {
namespace {

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

void TWindowsTextField::NativeCreate() {
  DWORD field_style = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
  if (HidesTypedText(*this)) field_style |= ES_PASSWORD;
  hwnd_ = CreateControl(L"EDIT", field_style, WS_EX_CLIENTEDGE);
}

void TWindowsTextField::NativeText() {
  if (!hwnd_) return;
  ProgramChange quiet;  // SetWindowText raises EN_CHANGE: not the user's edit
  SetWindowTextW(hwnd_, Widen(text()).c_str());
  NativeSelection();  // the caret and selection stay where they were, cut to the new length
}

void TWindowsTextField::NativeSelection() {
  if (!hwnd_) return;
  ProgramChange quiet;
  SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(Utf16Index(text(), selection_start())),
               static_cast<LPARAM>(Utf16Index(text(), selection_end())));
}

void TWindowsTextField::OnCommand(int code) {
  if (code != EN_CHANGE || ProgramChange::InProgress()) return;
  const std::wstring contents = WindowText(hwnd_);
  DWORD start = 0, end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  input::TextEdited(this, Narrow(contents), Utf8Offset(contents, static_cast<int>(start)),
                    Utf8Offset(contents, static_cast<int>(end)));
}

HBRUSH TWindowsTextField::OnControlColor(UINT /*msg*/, HDC dc) {
  // A face of its own: white unless the program gave it a colour, and text that reads on it whatever the
  // colour scheme says text in a window looks like.
  ::SetTextColor(dc, TextColour());
  if (has_color()) {
    HBRUSH brush = TWindowsGadget::OnControlColor(WM_CTLCOLOREDIT, dc);  // the colour's brush and its text
    SetBkMode(dc, OPAQUE);                                               // typed text is drawn over its own background
    SetBkColor(dc, RGB(color().r, color().g, color().b));
    return brush;
  }
  SetBkColor(dc, RGB(255, 255, 255));
  return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

}  // namespace raziz::ui::win32
