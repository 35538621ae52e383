#pragma once
// Puts the core's composed faces on the screen. Their pixels are premultiplied ARGB; where they are not
// fully opaque the system's face colour shows through, the way an empty dialog looks.

#include "ui/widgets/core/panel_paint.h"
#include "ui/widgets/win32/win32_api.h"

namespace raziz::ui::win32 {

// Copies the w x h part of `image` starting at (sx, sy) to (dx, dy) of `dc`.
void DrawImage(HDC dc, const PanelImage& image, int sx, int sy, int w, int h, int dx, int dy);

// A brush whose pattern is `image`, for a control that fills its background from its own top-left corner.
// Null for an empty image.
HBRUSH MakePatternBrush(const PanelImage& image);

// Paints into a memory bitmap of the window's client size, then copies that to `dc` in one step.
template <typename Paint>
void PaintBuffered(HDC dc, HWND hwnd, Paint paint) {
  RECT rect;
  GetClientRect(hwnd, &rect);
  const int w = rect.right, h = rect.bottom;
  if (w <= 0 || h <= 0) return;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  paint(memory, w, h);
  BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

}  // namespace raziz::ui::win32
