#pragma once
// Screens of any density. The program asks for per-monitor awareness (its manifest, and again here for
// systems that read only part of it); the calls that came with it are looked up when first used, so that
// Windows versions and wine builds without them still run, at the system DPI.

#include "ui/widgets/win32/win32_api.h"

namespace raziz::ui::win32 {

inline constexpr UINT kDesignDpi = 96;  // the density the layout's numbers are drawn for

// Makes the windows this thread creates from now on per-monitor aware (v2, else v1); where neither exists,
// the process is system aware.
void StartDpiAwareness();

// The DPI of the system as a whole: what a window gets where the per-window call is missing.
UINT SystemDpi();

// The DPI the window is drawn at.
UINT WindowDpi(HWND hwnd);

// AdjustWindowRectEx for the given DPI (the system's metrics where the per-DPI call is missing).
void AdjustFrame(RECT& rect, DWORD style, bool menu, DWORD ex_style, UINT dpi);

// The desktop's message font made for `dpi`. False when the system cannot tell.
bool MessageFont(LOGFONTW& font, UINT dpi);

// The size of the large or small icon at `dpi`.
SIZE IconSize(bool small, UINT dpi);

}  // namespace raziz::ui::win32
