#include "ui/widgets/win32/win32_platform.h"

#include <vector>

#include "ui/widgets/win32/win32_dpi.h"

namespace raziz::ui::win32 {
namespace {

struct DpiFont {
  UINT dpi;
  HFONT font;
  int line_height;
};

// Windows on monitors of different densities each need the font made for theirs; a handful at most.
std::vector<DpiFont> fonts;
const wchar_t* rich_edit_class = nullptr;

HFONT MakeDefaultFont(UINT dpi) {
  LOGFONTW shape{};
  if (MessageFont(shape, dpi)) {
    if (HFONT f = CreateFontIndirectW(&shape)) return f;
  }
  LOGFONTW fallback{};
  fallback.lfHeight = -MulDiv(8, static_cast<int>(dpi), 72);
  fallback.lfWeight = FW_NORMAL;
  fallback.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(fallback.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
  return CreateFontIndirectW(&fallback);
}

int MeasureLineHeight(HFONT f, UINT dpi) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, f);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return metrics.tmHeight > 0 ? static_cast<int>(metrics.tmHeight) : MulDiv(13, static_cast<int>(dpi), kDesignDpi);
}

const DpiFont& FontFor(UINT dpi) {
  for (const DpiFont& f : fonts) {
    if (f.dpi == dpi) return f;
  }
  HFONT font = MakeDefaultFont(dpi);
  fonts.push_back({dpi, font, MeasureLineHeight(font, dpi)});
  return fonts.back();
}

const wchar_t* LoadRichEdit() {
  if (LoadLibraryW(L"msftedit.dll")) return MSFTEDIT_CLASS;
  if (LoadLibraryW(L"riched20.dll")) return RICHEDIT_CLASSW;
  return nullptr;
}

void RegisterClasses() {
  WNDCLASSEXW frame{};
  frame.cbSize = sizeof frame;
  frame.style = CS_DBLCLKS;
  frame.lpfnWndProc = FrameProc;
  frame.hInstance = Instance();
  frame.hIcon = ProgramIcon(false, SystemDpi());
  frame.hIconSm = ProgramIcon(true, SystemDpi());
  frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  frame.hbrBackground = nullptr;  // the client window paints everything inside the frame
  frame.lpszClassName = kFrameClass;
  RegisterClassExW(&frame);

  WNDCLASSEXW container{};
  container.cbSize = sizeof container;
  container.style = CS_DBLCLKS;
  container.lpfnWndProc = ContainerProc;
  container.hInstance = Instance();
  container.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  container.hbrBackground = nullptr;  // painted from the core's composed faces
  container.lpszClassName = kContainerClass;
  RegisterClassExW(&container);
}

}  // namespace

void StartPlatform() {
  StartDpiAwareness();  // before any window exists: awareness is fixed when a window is made
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
  FontFor(SystemDpi());
  rich_edit_class = LoadRichEdit();
  RegisterClasses();
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

HFONT DefaultFont(UINT dpi) { return FontFor(dpi).font; }

int DefaultLineHeight(UINT dpi) { return FontFor(dpi).line_height; }

const wchar_t* RichEditClass() { return rich_edit_class; }

HICON ProgramIcon(bool small, UINT dpi) {
  const SIZE size = IconSize(small, dpi);
  return static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(101), IMAGE_ICON, size.cx, size.cy, LR_SHARED));
}

}  // namespace raziz::ui::win32
