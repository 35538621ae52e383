#include "ui/widgets/core/contrast.h"
#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/panel_paint.h"
#include "ui/widgets/win32/win32_dpi.h"
#include "ui/widgets/win32/win32_paint.h"
#include "ui/widgets/win32/win32_platform.h"
#include "ui/widgets/win32/win32_quiet.h"
#include "ui/widgets/win32/win32_text.h"
#include "ui/widgets/win32/win32_controls.h"

namespace raziz::ui::win32 {

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
  const Rect inner = PlacedClientArea(*this);
  ProgramChange quiet;
  MoveWindow(client_, inner.x, inner.y, inner.width, inner.height, TRUE);
}

void TWindowsPanel::NativePaint() {
  ForgetBackdrops();
  if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWindowsPanel::PaintContainer(HDC dc, HWND which) {
  const PanelImage face = ComposePanel(*this);
  const bool inner = which != hwnd_;
  const Rect from = inner ? PlacedClientArea(*this) : Rect{};
  PaintBuffered(dc, which, [&](HDC memory, int w, int h) {
    DrawImage(memory, face, from.x, from.y, w, h, 0, 0);
    if (inner) return;
    const PanelBorder border = PanelBorderOf(*this);
    if (border == PanelBorder::kGroup) {
      PaintFrame(memory, w, h);
    } else if (border != PanelBorder::kPlain) {
      RECT edge{0, 0, w, h};
      DrawEdge(memory, &edge, border == PanelBorder::kSunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
  });
}

void TWindowsPanel::PaintFrame(HDC dc, int w, int h) {
  const UINT dpi = Dpi();
  HGDIOBJ old_font = SelectObject(dc, DefaultFont(dpi));
  const std::wstring caption = Widen(text());
  const int line = DefaultLineHeight(dpi);
  RECT frame{0, line / 2, w, h};
  SIZE extent{};
  // The caption's indent and the gap it leaves in the line are the frame's look, sized for the screen.
  const int caption_left = MulDiv(8, static_cast<int>(dpi), kDesignDpi);
  const int gap = MulDiv(2, static_cast<int>(dpi), kDesignDpi);
  if (!caption.empty()) {
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    // The caption breaks the top line.
    ExcludeClipRect(dc, caption_left - gap, 0, caption_left + extent.cx + gap, line);
  }
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  SelectClipRgn(dc, nullptr);
  if (!caption.empty()) {
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, TextColour());
    TextOutW(dc, caption_left, 0, caption.c_str(), static_cast<int>(caption.size()));
  }
  SelectObject(dc, old_font);
}

void TWindowsPanel::OnContainerClicked(HWND /*which*/) {
  // A click on an empty part of a panel takes the keyboard focus there (from a text field, say); the
  // panel's WM_SETFOCUS tells the core.
  if (hwnd_) SetFocus(hwnd_);
}

}  // namespace raziz::ui::win32
