#include "ui/widgets/win32/win32_dpi.h"

namespace raziz::ui::win32 {
namespace {

// The per-DPI calls, looked up once: Windows 10 1607 brought them; older systems and some wine builds lack
// some, and the program must start there all the same.
struct DpiCalls {
  using SetThreadContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
  using SetProcessAware = BOOL(WINAPI*)();
  using ForWindow = UINT(WINAPI*)(HWND);
  using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  using ParametersForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  using MetricsForDpi = int(WINAPI*)(int, UINT);

  SetThreadContext set_thread_context = nullptr;
  SetProcessAware set_process_aware = nullptr;
  ForWindow for_window = nullptr;
  AdjustForDpi adjust_for_dpi = nullptr;
  ParametersForDpi parameters_for_dpi = nullptr;
  MetricsForDpi metrics_for_dpi = nullptr;
};

template <typename Call>
Call Resolve(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

const DpiCalls& Calls() {
  static const DpiCalls calls = [] {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    DpiCalls c;
    c.set_thread_context = Resolve<DpiCalls::SetThreadContext>(user, "SetThreadDpiAwarenessContext");
    c.set_process_aware = Resolve<DpiCalls::SetProcessAware>(user, "SetProcessDPIAware");
    c.for_window = Resolve<DpiCalls::ForWindow>(user, "GetDpiForWindow");
    c.adjust_for_dpi = Resolve<DpiCalls::AdjustForDpi>(user, "AdjustWindowRectExForDpi");
    c.parameters_for_dpi = Resolve<DpiCalls::ParametersForDpi>(user, "SystemParametersInfoForDpi");
    c.metrics_for_dpi = Resolve<DpiCalls::MetricsForDpi>(user, "GetSystemMetricsForDpi");
    return c;
  }();
  return calls;
}

bool Plausible(UINT dpi) { return dpi >= 48 && dpi <= 768; }

}  // namespace

void StartDpiAwareness() {
  const DpiCalls& calls = Calls();
  if (calls.set_thread_context) {
    if (calls.set_thread_context(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
    if (calls.set_thread_context(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE)) return;
  }
  // Without it the system would stretch the window as a bitmap; aware of the system DPI, it draws crisply.
  if (calls.set_process_aware) calls.set_process_aware();
}

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return Plausible(static_cast<UINT>(dpi)) ? static_cast<UINT>(dpi) : kDesignDpi;
}

UINT WindowDpi(HWND hwnd) {
  if (hwnd && Calls().for_window) {
    const UINT dpi = Calls().for_window(hwnd);
    if (Plausible(dpi)) return dpi;
  }
  return SystemDpi();
}

void AdjustFrame(RECT& rect, DWORD style, bool menu, DWORD ex_style, UINT dpi) {
  if (Calls().adjust_for_dpi && Calls().adjust_for_dpi(&rect, style, menu, ex_style, dpi)) return;
  AdjustWindowRectEx(&rect, style, menu, ex_style);
}

bool MessageFont(LOGFONTW& font, UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (Calls().parameters_for_dpi &&
      Calls().parameters_for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    font = metrics.lfMessageFont;
    return true;
  }
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
  font = metrics.lfMessageFont;
  // Given for the system DPI: sized for this one instead.
  font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  return true;
}

SIZE IconSize(bool small, UINT dpi) {
  const int x = small ? SM_CXSMICON : SM_CXICON, y = small ? SM_CYSMICON : SM_CYICON;
  if (Calls().metrics_for_dpi) return {Calls().metrics_for_dpi(x, dpi), Calls().metrics_for_dpi(y, dpi)};
  return {GetSystemMetrics(x), GetSystemMetrics(y)};
}

}  // namespace raziz::ui::win32
