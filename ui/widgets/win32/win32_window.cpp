#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/input.h"
#include "ui/widgets/core/layout_scale.h"
#include "ui/widgets/core/styles.h"
#include "ui/widgets/win32/win32_dpi.h"
#include "ui/widgets/win32/win32_platform.h"
#include "ui/widgets/win32/win32_quiet.h"
#include "ui/widgets/win32/win32_registry.h"
#include "ui/widgets/win32/win32_text.h"
#include "ui/widgets/win32/win32_controls.h"

#include <algorithm>

namespace raziz::ui::win32 {

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCDESTROY) ForgetWindow(hwnd);
  if (auto* window = dynamic_cast<TWindowsWindow*>(GadgetOf(hwnd))) return window->OnFrameMessage(hwnd, msg, w, l);
  return DefWindowProcW(hwnd, msg, w, l);
}

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
  if (HasTitleBar(*this)) ws |= WS_CAPTION | WS_SYSMENU;
  if (IsResizable(*this)) ws |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  if (!(ws & WS_CAPTION)) ws |= WS_POPUP | WS_BORDER;
  DWORD ex = WS_EX_APPWINDOW;
  if (IsToolWindow(*this)) ex = WS_EX_TOOLWINDOW;
  if (AcceptsDroppedFiles(*this)) ex |= WS_EX_ACCEPTFILES;
  // Owned by no other window: each top-level window has its own task-bar entry and stays usable.
  hwnd_ = CreateWindowExW(ex, kFrameClass, L"", ws, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr,
                          Instance(), nullptr);
  if (!hwnd_) return;
  RegisterWindow(hwnd_, this);
  // Before anything inside is placed: every rectangle of the layout is mapped through this scale.
  dpi_ = WindowDpi(hwnd_);
  SetLayoutScale(*this, static_cast<double>(dpi_) / kDesignDpi);
  UpdateIcons();
  client_ = CreateContainer(hwnd_, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
  FitClientWindow();
}

void TWindowsWindow::UpdateIcons() {
  // The class's icons are made for the system DPI; a window on a denser screen wants larger ones.
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon(false, dpi_)));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ProgramIcon(true, dpi_)));
}

void TWindowsWindow::FitClientWindow() {
  if (!hwnd_ || !client_) return;
  RECT rect;
  GetClientRect(hwnd_, &rect);
  ProgramChange quiet;
  MoveWindow(client_, 0, 0, rect.right, rect.bottom, TRUE);
}

void TWindowsWindow::NativeGeometry() { PlaceFrame(); }

void TWindowsWindow::PlaceFrame() {
  if (!hwnd_) return;
  const auto frame_style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
  const auto frame_ex = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE));
  RECT bare{0, 0, 0, 0}, barred{0, 0, 0, 0};
  AdjustFrame(bare, frame_style, false, frame_ex, dpi_);
  AdjustFrame(barred, frame_style, true, frame_ex, dpi_);
  Decorations decorations;
  decorations.left = -bare.left;
  decorations.right = bare.right;
  decorations.top = -bare.top;
  decorations.bottom = bare.bottom;
  decorations.menu_bar = menu_bar_ ? bare.top - barred.top : 0;
  // Geometry given for the client area leaves the decorations outside it.
  const Size client = ClientSizeFor(*this, GeometryIsClientArea(*this) ? Decorations{} : decorations);
  const Rect placed = PlacedRect(*this);
  int x = placed.x, y = placed.y;
  int w = client.width + decorations.left + decorations.right;
  int h = client.height + decorations.top + decorations.bottom + decorations.menu_bar;
  if (suggested_) {
    x = suggested_->left;
    y = suggested_->top;
  }
  if (IsCentred(*this)) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT area{0, 0, 0, 0};
    if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) {
      area = monitor.rcWork;
    } else {
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    x = area.left + (area.right - area.left - w) / 2;
    y = area.top + (area.bottom - area.top - h) / 2;
  }
  placing_ = true;
  {
    ProgramChange quiet;
    SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar can take more than the one line the frame was sized for: grow by what is still missing.
    RECT inside;
    GetClientRect(hwnd_, &inside);
    const int short_x = client.width - inside.right, short_y = client.height - inside.bottom;
    if (short_x > 0 || short_y > 0) {
      SetWindowPos(hwnd_, nullptr, 0, 0, w + std::max(0, short_x), h + std::max(0, short_y),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
  }
  placing_ = false;
  FitClientWindow();
  ForgetBackdrops();
  if (pending_dpi_) {
    // Placing it took the window to a screen of another density: place everything again for that one.
    const UINT next = pending_dpi_;
    pending_dpi_ = 0;
    DpiChanged(next, nullptr);
  }
}

void TWindowsWindow::DpiChanged(UINT new_dpi, const RECT* suggested) {
  if (placing_) {
    pending_dpi_ = new_dpi;
    return;
  }
  if (new_dpi == dpi_) return;
  dpi_ = new_dpi;
  UpdateIcons();
  suggested_ = suggested;
  // The core places every control again, then the window (PlaceFrame, at the suggested position).
  SetLayoutScale(*this, static_cast<double>(dpi_) / kDesignDpi);
  suggested_ = nullptr;
  if (suggested) {
    // The user dragged the window there: the core keeps its position in units of the new scale.
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    input::WindowMoved(this, frame.left, frame.top);
  }
  NativePaint();
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
  ProgramChange quiet;
  SetFocus(hwnd_);
}

void TWindowsWindow::NativePaint() {
  ForgetBackdrops();
  if (client_) RedrawWindow(client_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool TWindowsWindow::AppendMenuItems(HMENU menu, const TGadget& parent_item) {
  for (TGadget* item : parent_item.kids) {
    const std::wstring text = Widen(item->name.empty() ? item->text() : item->name);
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
    ProgramChange quiet;  // the client area shrinks by the bar: not the user's doing
    SetMenu(hwnd_, bar);
    DrawMenuBar(hwnd_);
  }
  DestroyMenuBar();
  menu_bar_ = bar;
  PlaceFrame();  // the bar keeps the outer size unless the client area would then no longer hold the layout
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
      if (!ProgramChange::InProgress() && !IsIconic(hwnd)) {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        input::WindowMoved(this, rect.left, rect.top);
      }
      return 0;
    case WM_SIZE:
      FitClientWindow();
      if (!ProgramChange::InProgress() && w != SIZE_MINIMIZED) {
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
    case WM_DPICHANGED: DpiChanged(HIWORD(w), reinterpret_cast<const RECT*>(l)); return 0;
    case WM_ERASEBKGND: return 1;
    default: break;
  }
  return DefWindowProcW(hwnd, msg, w, l);
}

}  // namespace raziz::ui::win32
