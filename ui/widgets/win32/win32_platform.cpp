#include "ui/widgets/win32/win32_platform.h"

namespace raziz::ui::win32 {
namespace {

HFONT font = nullptr;
int line_height = 13;
const wchar_t* rich_edit_class = nullptr;

HFONT MakeDefaultFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    if (HFONT f = CreateFontIndirectW(&metrics.lfMessageFont)) return f;
  }
  LOGFONTW fallback{};
  HDC screen = GetDC(nullptr);
  fallback.lfHeight = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  fallback.lfWeight = FW_NORMAL;
  fallback.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(fallback.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
  return CreateFontIndirectW(&fallback);
}

int MeasureLineHeight(HFONT f) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, f);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return metrics.tmHeight > 0 ? static_cast<int>(metrics.tmHeight) : 13;
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
  frame.hIcon = ProgramIcon(false);
  frame.hIconSm = ProgramIcon(true);
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
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
  font = MakeDefaultFont();
  line_height = MeasureLineHeight(font);
  rich_edit_class = LoadRichEdit();
  RegisterClasses();
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

HFONT DefaultFont() { return font; }

int DefaultLineHeight() { return line_height; }

const wchar_t* RichEditClass() { return rich_edit_class; }

HICON ProgramIcon(bool small) {
  const int size_x = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
  const int size_y = GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON);
  return static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(101), IMAGE_ICON, size_x, size_y, LR_SHARED));
}

}  // namespace raziz::ui::win32
