#include "ui/widgets/core/input.h"
#include "ui/widgets/win32/win32_platform.h"
#include "ui/widgets/win32/win32_quiet.h"
#include "ui/widgets/win32/win32_text.h"
#include "ui/widgets/win32/win32_controls.h"

#include <string>

namespace raziz::ui::win32 {
namespace {

constexpr int kMaxCharacters = 4194304;
constexpr UINT kUtf16 = 1200;  // the code page rich edit uses for wide text

}  // namespace

void TWindowsTextArea::NativeCreate() {
  DWORD area_style = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
  if (!WrapsLines(*this)) area_style |= ES_AUTOHSCROLL | WS_HSCROLL;  // long lines scroll sideways
  if (IsReadOnly(*this)) area_style |= ES_READONLY;
  hwnd_ = CreateControl(RichEditClass(), area_style, WS_EX_CLIENTEDGE);
  if (!hwnd_) return;
  ProgramChange quiet;
  SendMessageW(hwnd_, EM_SETTEXTMODE, TM_PLAINTEXT | TM_SINGLELEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  SendMessageW(hwnd_, EM_EXLIMITTEXT, 0, kMaxCharacters);
  SendMessageW(hwnd_, EM_SETUNDOLIMIT, 0, 0);
  SendMessageW(hwnd_, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
}

std::wstring TWindowsTextArea::Contents() const {
  // Plain text with "\r" ending each paragraph, which is how the program writes line breaks.
  GETTEXTLENGTHEX length_query{GTL_NUMCHARS | GTL_PRECISE, kUtf16};
  const auto length = SendMessageW(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length_query), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GETTEXTEX text_query{};
  text_query.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  text_query.flags = GT_DEFAULT;
  text_query.codepage = kUtf16;
  const auto copied =
      SendMessageW(hwnd_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&text_query), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void TWindowsTextArea::NativeText() {
  if (!hwnd_) return;
  ProgramChange quiet;
  SetWindowTextW(hwnd_, Widen(text()).c_str());
  NativeSelection();
}

void TWindowsTextArea::NativeSelection() {
  if (!hwnd_) return;
  ProgramChange quiet;
  CHARRANGE range{Utf16Index(text(), selection_start()), Utf16Index(text(), selection_end())};
  SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void TWindowsTextArea::OnCommand(int code) {
  if (code != EN_CHANGE || ProgramChange::InProgress()) return;
  const std::wstring contents = Contents();
  CHARRANGE range{};
  SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  input::TextEdited(this, Narrow(contents), Utf8Offset(contents, range.cpMin), Utf8Offset(contents, range.cpMax));
}

LRESULT TWindowsTextArea::OnNotify(const NMHDR& header) {
  if (header.code != EN_SELCHANGE || ProgramChange::InProgress()) return 0;
  const auto& change = reinterpret_cast<const SELCHANGE&>(header);
  const std::wstring contents = Contents();
  input::SelectionChanged(this, Utf8Offset(contents, change.chrg.cpMin), Utf8Offset(contents, change.chrg.cpMax));
  return 0;
}

bool TWindowsTextArea::OnControlMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  if (msg == WM_RBUTTONUP) {
    input::ContextMenu(this, static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
    result = 0;
    return true;
  }
  return TWindowsGadget::OnControlMessage(msg, w, l, result);
}

}  // namespace raziz::ui::win32
