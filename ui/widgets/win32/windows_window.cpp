#include "ui/widgets/core/input.h"
#include "ui/widgets/win32/win32_platform.h"
#include "ui/widgets/win32/win32_quiet.h"
#include "ui/widgets/win32/win32_registry.h"
#include "ui/widgets/win32/win32_text.h"
#include "ui/widgets/win32/windows_kinds.h"

namespace raziz::ui {

namespace win32 {

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCDESTROY) ForgetWindow(hwnd);
  if (auto* window = dynamic_cast<TWindowsWindow*>(GadgetOf(hwnd))) return window->OnFrameMessage(hwnd, msg, w, l);
  return DefWindowProcW(hwnd, msg, w, l);
}

}  // namespace win32

namespace {

bool InTree(const TGadget& root, const TGadget* item) {
  for (const TGadget* kid : root.kids) {
    if (kid == item || InTree(*kid, item)) return true;
  }
  return false;
}

}  // namespace

void TWindowsWindow::NativeCreate() {
  DWORD ws = WS_CLIPSIBLINGS;
  if (style & window_style::kTitleBar) ws |= WS_CAPTION | WS_SYSMENU;
  if (style & window_style::kResizable) ws |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  if (!(ws & WS_CAPTION)) ws |= WS_POPUP | WS_BORDER;
  DWORD ex = WS_EX_APPWINDOW;
  if (style & window_style::kToolWindow) ex = WS_EX_TOOLWINDOW;
  if (style & window_style::kAcceptFiles) ex |= WS_EX_ACCEPTFILES;
  // Owned by no other window: each top-level window has its own task-bar entry and stays usable.
  hwnd_ = CreateWindowExW(ex, win32::kFrameClass, L"", ws, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr,
                          nullptr, win32::Instance(), nullptr);
  if (!hwnd_) return;
  win32::RegisterWindow(hwnd_, this);
  client_ = CreateContainer(hwnd_, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
  FitClientWindow();
}

void TWindowsWindow::FitClientWindow() {
  if (!hwnd_ || !client_) return;
  RECT rect;
  GetClientRect(hwnd_, &rect);
  win32::ProgramChange quiet;
  MoveWindow(client_, 0, 0, rect.right, rect.bottom, TRUE);
}

void TWindowsWindow::NativeGeometry() {
  if (!hwnd_) return;
  int x = xpos, y = ypos, w = width, h = height;
  if (style & window_style::kClientGeometry) {
    RECT rect{0, 0, w, h};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), menu_bar_ != nullptr,
                       static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
    w = rect.right - rect.left;
    h = rect.bottom - rect.top;
  }
  if (style & window_style::kCentred) {
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    x = area.left + (area.right - area.left - w) / 2;
    y = area.top + (area.bottom - area.top - h) / 2;
  }
  {
    win32::ProgramChange quiet;
    SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FitClientWindow();
  ForgetBackdrops();
}

void TWindowsWindow::NativeShow() {
  if (!hwnd_) return;
  // Not a quiet change: being shown makes the window the active one, which the core hears as WindowActivate.
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  // The program goes on building its contents before it pumps messages: show the frame and the empty face
  // now rather than whatever the screen held there.
  UpdateWindow(hwnd_);
}

void TWindowsWindow::NativeActivate() {
  if (!hwnd_) return;
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
}

void TWindowsWindow::NativeFocus() {
  if (!hwnd_) return;
  win32::ProgramChange quiet;
  SetFocus(hwnd_);
}

void TWindowsWindow::NativePaint() {
  ForgetBackdrops();
  if (client_) RedrawWindow(client_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool TWindowsWindow::AppendMenuItems(HMENU menu, const TGadget& parent_item) {
  for (TGadget* item : parent_item.kids) {
    const std::wstring text = win32::Widen(item->name.empty() ? item->text() : item->name);
    if (!item->kids.empty()) {
      HMENU drop_down = CreatePopupMenu();
      if (!drop_down) return false;
      if (!AppendMenuItems(drop_down, *item) ||
          !AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(drop_down), text.c_str())) {
        DestroyMenu(drop_down);
        return false;
      }
    } else if (text.empty()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      menu_commands_.push_back(item);
      if (!AppendMenuW(menu, MF_STRING, menu_commands_.size(), text.c_str())) return false;
    }
  }
  return true;
}

bool TWindowsWindow::NativeMenuBar() {
  if (!hwnd_) return false;
  menu_commands_.clear();
  HMENU bar = CreateMenu();
  if (!bar) return false;
  if (menu_root() && !AppendMenuItems(bar, *menu_root())) {
    DestroyMenu(bar);
    menu_commands_.clear();
    return false;
  }
  {
    win32::ProgramChange quiet;  // the client area shrinks by the bar: not the user's doing
    SetMenu(hwnd_, bar);
    DrawMenuBar(hwnd_);
  }
  DestroyMenuBar();
  menu_bar_ = bar;
  FitClientWindow();
  return true;
}

void TWindowsWindow::DestroyMenuBar() {
  if (menu_bar_) DestroyMenu(menu_bar_);
  menu_bar_ = nullptr;
}

void TWindowsWindow::NativeDestroy() {
  // The frame takes its menu bar with it.
  menu_bar_ = nullptr;
  menu_commands_.clear();
  TWindowsGadget::NativeDestroy();
}

LRESULT TWindowsWindow::OnFrameMessage(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_CLOSE:  // the window stays: closing is the program's decision
      input::CloseAsked(this);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(w) != WA_INACTIVE) {
        const LRESULT result = DefWindowProcW(hwnd, msg, w, l);  // puts the focus on the frame itself
        input::WindowActivated(this);
        return result;
      }
      break;
    case WM_ACTIVATEAPP:
      if (w) {
        input::AppResumed();
      } else {
        input::AppSuspended();
      }
      break;
    case WM_MOVE:
      if (!win32::ProgramChange::InProgress() && !IsIconic(hwnd)) {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        input::WindowMoved(this, rect.left, rect.top);
      }
      return 0;
    case WM_SIZE:
      FitClientWindow();
      if (!win32::ProgramChange::InProgress() && w != SIZE_MINIMIZED) {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        input::WindowSized(this, rect.right - rect.left, rect.bottom - rect.top);
      }
      return 0;
    case WM_COMMAND:
      if (HIWORD(w) == 0 && l == 0) {
        const std::size_t id = LOWORD(w);
        if (id >= 1 && id <= menu_commands_.size()) {
          TGadget* item = menu_commands_[id - 1];
          if (menu_root() && InTree(*menu_root(), item)) input::MenuChosen(item);
        }
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, w, l);
}

}  // namespace raziz::ui
