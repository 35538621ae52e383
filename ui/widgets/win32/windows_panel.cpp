#include "ui/widgets/core/panel_paint.h"
#include "ui/widgets/win32/win32_paint.h"
#include "ui/widgets/win32/win32_platform.h"
#include "ui/widgets/win32/win32_quiet.h"
#include "ui/widgets/win32/win32_text.h"
#include "ui/widgets/win32/windows_kinds.h"

#include <algorithm>

namespace raziz::ui {
namespace {

// Where a group panel's inner area begins inside it, and how much smaller it is.
constexpr int kInnerLeft = 4, kInnerTop = 16, kInnerShrinkX = 8, kInnerShrinkY = 20;

}  // namespace

void TWindowsPanel::NativeCreate() {
  HWND container = ContainerWindow();
  if (!container) return;
  // Panels paint their whole face themselves (a native group box leaves its inside unpainted), and the
  // controls in them paint their own backgrounds from the same faces, so panels clip their children.
  hwnd_ = CreateContainer(container, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
  if (hwnd_ && group()) client_ = CreateContainer(hwnd_, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
}

void TWindowsPanel::NativeText() {
  // Only a group panel shows its text, in its frame.
  if (hwnd_ && group()) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TWindowsPanel::NativeGeometry() {
  TWindowsGadget::NativeGeometry();
  if (!client_) return;
  win32::ProgramChange quiet;
  MoveWindow(client_, kInnerLeft, kInnerTop, std::max(0, width - kInnerShrinkX), std::max(0, height - kInnerShrinkY),
             TRUE);
}

void TWindowsPanel::NativePaint() {
  ForgetBackdrops();
  if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWindowsPanel::PaintContainer(HDC dc, HWND which) {
  const PanelImage face = ComposePanel(*this);
  const bool inner = which != hwnd_;
  win32::PaintBuffered(dc, which, [&](HDC memory, int w, int h) {
    win32::DrawImage(memory, face, inner ? kInnerLeft : 0, inner ? kInnerTop : 0, w, h, 0, 0);
    if (inner) return;
    if (group()) {
      PaintFrame(memory, w, h);
    } else if ((style & 3) != panel_style::kPlain) {
      RECT edge{0, 0, w, h};
      DrawEdge(memory, &edge, (style & 3) == panel_style::kSunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
  });
}

void TWindowsPanel::PaintFrame(HDC dc, int w, int h) {
  HGDIOBJ old_font = SelectObject(dc, win32::DefaultFont());
  const std::wstring caption = win32::Widen(text());
  const int line = win32::DefaultLineHeight();
  RECT frame{0, line / 2, w, h};
  SIZE extent{};
  constexpr int kCaptionLeft = 8, kGap = 2;
  if (!caption.empty()) {
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    // The caption breaks the top line.
    ExcludeClipRect(dc, kCaptionLeft - kGap, 0, kCaptionLeft + extent.cx + kGap, line);
  }
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  SelectClipRgn(dc, nullptr);
  if (!caption.empty()) {
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, has_text_color() ? RGB(text_color().r, text_color().g, text_color().b)
                                      : GetSysColor(COLOR_WINDOWTEXT));
    TextOutW(dc, kCaptionLeft, 0, caption.c_str(), static_cast<int>(caption.size()));
  }
  SelectObject(dc, old_font);
}

void TWindowsPanel::OnContainerClicked(HWND /*which*/) {
  // A click on an empty part of a panel takes the keyboard focus there (from a text field, say); the
  // panel's WM_SETFOCUS tells the core.
  if (hwnd_) SetFocus(hwnd_);
}

}  // namespace raziz::ui
