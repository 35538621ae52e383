#include "ui/widgets/win32/win32_controls.h"

#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/label_fit.h"

#include <cstdlib>

#include "ui/widgets/win32/win32_platform.h"
#include "ui/widgets/win32/win32_text.h"

namespace raziz::ui::win32 {

void TWindowsLabel::NativeCreate() {
  DWORD label_style = SS_NOPREFIX;  // an "&" shows as itself
  switch (LabelAlignment(*this)) {
    case Alignment::kRight: label_style |= SS_RIGHT; break;
    case Alignment::kCentre: label_style |= SS_CENTER; break;
    default:
      label_style |= SS_LEFT;  // wraps at word boundaries, clipped at the bottom
      break;
  }
  switch (LabelFrameOf(*this)) {
    case LabelFrame::kLine: label_style |= WS_BORDER; break;
    case LabelFrame::kSunken: label_style |= SS_SUNKEN; break;
    case LabelFrame::kSeparator: label_style = SS_ETCHEDHORZ; break;
    default: break;
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

void TWindowsLabel::ApplyFont() { FitText(); }

// The full font, or a smaller one when the core finds the text would otherwise wrap into a line the label's
// height cuts off.
void TWindowsLabel::FitText() {
  if (!hwnd_ || text().empty()) return;
  HFONT font = Font();
  const Rect box = PlacedRect(*this);
  const std::wstring wide = Widen(text());
  HDC dc = GetDC(hwnd_);
  HGDIOBJ before = SelectObject(dc, font);
  auto text_width = [&](HFONT with) {
    SelectObject(dc, with);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return static_cast<int>(size.cx);
  };
  const double factor = LabelFontScale({box.width, box.height, text_width(font), DefaultLineHeight(Dpi())});
  HFONT wanted = font;
  LOGFONTW shape{};
  if (factor < 1.0 && GetObjectW(font, sizeof shape, &shape) == sizeof shape && shape.lfHeight != 0) {
    // Font sizes are whole pixels: the factor's size rounded towards smaller, and one pixel less where glyph
    // widths still round the text past the box, as long as that stays within the smallest the core allows.
    const LONG full = shape.lfHeight;
    auto make = [&](LONG size) {
      shape.lfHeight = size;
      shape.lfWidth = 0;
      return CreateFontIndirectW(&shape);
    };
    const LONG size = static_cast<LONG>(full * factor);
    wanted = size != 0 ? make(size) : nullptr;
    const LONG smaller = size + (full < 0 ? 1 : -1);
    if (wanted && text_width(wanted) > box.width && smaller != 0 &&
        std::abs(smaller) >= std::abs(full) * kSmallestLabelFont) {
      if (HFONT next = make(smaller)) {
        SelectObject(dc, font);
        DeleteObject(wanted);
        wanted = next;
      }
    }
    if (!wanted) wanted = font;
  }
  SelectObject(dc, before);
  ReleaseDC(hwnd_, dc);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(wanted), TRUE);
  if (fitted_font_) DeleteObject(fitted_font_);
  fitted_font_ = wanted == font ? nullptr : wanted;
}

}  // namespace raziz::ui::win32
