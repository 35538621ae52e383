#pragma once
// What the driver sets up once and every gadget uses: the user-interface services, the default font, the
// rich edit class, the program's icon and the driver's own window classes.

#include "ui/widgets/win32/win32_api.h"

namespace raziz::ui::win32 {

// DPI awareness, COM/OLE for this thread, the common controls, the rich edit library and the window classes.
void StartPlatform();

HINSTANCE Instance();

// The desktop's message font made for `dpi`, or "MS Shell Dlg" at 8 points when it cannot be had. Made on
// first use for each DPI and kept for the life of the process.
HFONT DefaultFont(UINT dpi);

// Height in pixels of a line of the default font at `dpi`.
int DefaultLineHeight(UINT dpi);

// The class name of the rich edit control that could be loaded ("msftedit.dll", else "riched20.dll"),
// or null when neither is there.
const wchar_t* RichEditClass();

// The icon group 101 of the executable at the large or small icon size for `dpi`; null when missing.
HICON ProgramIcon(bool small, UINT dpi);

// Top-level windows: the frame with title bar and menu bar.
inline constexpr wchar_t kFrameClass[] = L"RazizWindow";
// The window that holds gadgets: a window's client area, a panel, a group panel's inner area.
inline constexpr wchar_t kContainerClass[] = L"RazizContainer";

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);

}  // namespace raziz::ui::win32
