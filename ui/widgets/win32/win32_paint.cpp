#include "ui/widgets/win32/win32_paint.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace raziz::ui::win32 {
namespace {

// The part of the image as opaque 0x00RRGGBB words (a 32-bit DIB's layout), the face colour under it.
std::vector<std::uint32_t> Opaque(const PanelImage& image, int sx, int sy, int w, int h) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const std::uint32_t face_r = GetRValue(face), face_g = GetGValue(face), face_b = GetBValue(face);
  std::vector<std::uint32_t> out(static_cast<std::size_t>(w) * h, (face_r << 16) | (face_g << 8) | face_b);
  for (int y = 0; y < h; ++y) {
    const int iy = sy + y;
    if (iy < 0 || iy >= image.height) continue;
    for (int x = 0; x < w; ++x) {
      const int ix = sx + x;
      if (ix < 0 || ix >= image.width) continue;
      const std::uint32_t p = image.at(ix, iy);
      const std::uint32_t a = p >> 24, rest = 255 - a;
      const std::uint32_t r = std::min<std::uint32_t>(255, ((p >> 16) & 255) + (face_r * rest + 127) / 255);
      const std::uint32_t g = std::min<std::uint32_t>(255, ((p >> 8) & 255) + (face_g * rest + 127) / 255);
      const std::uint32_t b = std::min<std::uint32_t>(255, (p & 255) + (face_b * rest + 127) / 255);
      out[static_cast<std::size_t>(y) * w + x] = (r << 16) | (g << 8) | b;
    }
  }
  return out;
}

BITMAPINFO TopDown(int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

void DrawImage(HDC dc, const PanelImage& image, int sx, int sy, int w, int h, int dx, int dy) {
  if (w <= 0 || h <= 0) return;
  const std::vector<std::uint32_t> pixels = Opaque(image, sx, sy, w, h);
  const BITMAPINFO info = TopDown(w, h);
  SetDIBitsToDevice(dc, dx, dy, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0, static_cast<UINT>(h),
                    pixels.data(), &info, DIB_RGB_COLORS);
}

HBRUSH MakePatternBrush(const PanelImage& image) {
  if (image.width <= 0 || image.height <= 0) return nullptr;
  const std::vector<std::uint32_t> pixels = Opaque(image, 0, 0, image.width, image.height);
  const BITMAPINFO info = TopDown(image.width, image.height);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (!bitmap) return nullptr;
  HBRUSH brush = CreatePatternBrush(bitmap);
  DeleteObject(bitmap);  // the brush keeps its own copy of the pattern
  return brush;
}

}  // namespace raziz::ui::win32
