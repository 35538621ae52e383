#include "ui/widgets/win32/windows_kinds.h"

#include "ui/widgets/win32/win32_platform.h"
#include "ui/widgets/win32/win32_text.h"

namespace raziz::ui {

void TWindowsLabel::NativeCreate() {
  DWORD label_style = SS_NOPREFIX;  // an "&" shows as itself
  switch (style & 24) {
    case label_style::kRight:
      label_style |= SS_RIGHT;
      break;
    case label_style::kCentred:
      label_style |= SS_CENTER;
      break;
    default:
      label_style |= SS_LEFT;  // wraps at word boundaries, clipped at the bottom
      break;
  }
  switch (style & 7) {
    case 1:
      label_style |= WS_BORDER;
      break;
    case 2:
      label_style |= SS_SUNKEN;
      break;
    case 3:
      label_style = SS_ETCHEDHORZ;
      break;
    default:
      break;
  }
  hwnd_ = CreateControl(L"STATIC", label_style);
}

TWindowsLabel::~TWindowsLabel() {
  if (fitted_font_) DeleteObject(fitted_font_);
}

void TWindowsLabel::NativeText() {
  TWindowsGadget::NativeText();
  FitText();
}

void TWindowsLabel::NativeGeometry() {
  TWindowsGadget::NativeGeometry();
  FitText();
}

// The layouts were drawn for a narrower dialog font than some desktops use. A one-line label whose text would
// wrap into a line its height then clips gets a font up to a fifth smaller instead, so the whole sentence
// stays readable; beyond that it wraps and clips as any label does.
void TWindowsLabel::FitText() {
  constexpr double kSmallest = 0.8;
  if (!hwnd_ || width <= 0 || height <= 0 || text().empty()) return;
  HFONT font = win32::DefaultFont();
  const std::wstring wide = win32::Widen(text());
  HDC dc = GetDC(hwnd_);
  HGDIOBJ before = SelectObject(dc, font);
  auto extent = [&](HFONT with) {
    SelectObject(dc, with);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
  };
  const SIZE natural = extent(font);
  HFONT wanted = font;
  LOGFONTW shape{};
  if (natural.cx > width && height < 2 * natural.cy && GetObjectW(font, sizeof shape, &shape) == sizeof shape) {
    const LONG full = shape.lfHeight != 0 ? shape.lfHeight : -natural.cy;
    const LONG sign = full < 0 ? -1 : 1;
    const LONG smallest = static_cast<LONG>(full * kSmallest);
    for (LONG size = full - sign; size * sign >= smallest * sign; size -= sign) {
      shape.lfHeight = size;
      shape.lfWidth = 0;
      HFONT candidate = CreateFontIndirectW(&shape);
      if (!candidate) break;
      if (extent(candidate).cx <= width) {
        wanted = candidate;
        break;
      }
      SelectObject(dc, font);
      DeleteObject(candidate);
    }
  }
  SelectObject(dc, before);
  ReleaseDC(hwnd_, dc);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(wanted), TRUE);
  if (fitted_font_) DeleteObject(fitted_font_);
  fitted_font_ = wanted == font ? nullptr : wanted;
}

}  // namespace raziz::ui
