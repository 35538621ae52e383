#include "ui/widgets/gtk/gtk_driver.h"

#include <gtk/gtk.h>

#include <string>

#include "ui/widgets/gtk/gtk_controls.h"
#include "ui/widgets/gtk/gtk_look.h"
#include "ui/widgets/gtk/gtk_menu.h"
#include "ui/widgets/gtk/gtk_panel.h"
#include "ui/widgets/gtk/gtk_window.h"
#include "ui/widgets/gtk/paint_now.h"

namespace raziz::ui::gtk {

std::unique_ptr<TGtkGUIDriver> TGtkGUIDriver::Open() {
  // The window manager groups and names our windows by this (WM_CLASS); there is no argv to take it from.
  g_set_prgname("raziz");
  g_set_application_name("Raziz");
  if (!gtk_init_check(nullptr, nullptr)) return nullptr;
  // Making the font map sets fontconfig loading off on a thread of its own; begun now, it overlaps the
  // program's audio start instead of holding up the first window's text.
  pango_cairo_font_map_get_default();
  ApplyLook();
  return std::unique_ptr<TGtkGUIDriver>(new TGtkGUIDriver());
}

TGadget* TGtkGUIDriver::MakeGadget(int kind, int style) {
  switch (kind) {
    case kDesktop: return new TGtkDesktop();
    case kWindow: return new TGtkWindow(kind, style);
    case kButton: return new TGtkButton(kind, style);
    case kPanel: return new TGtkPanel(kind, style);
    case kTextField: return new TGtkTextField(kind, style);
    case kTextArea: return new TGtkTextArea(kind, style);
    case kLabel: return new TGtkLabel(kind, style);
    case kSlider: return new TGtkSlider(kind, style);
    case kMenuItem: return new TGtkMenu(kind, style);
    default: return nullptr;
  }
}

void TGtkGUIDriver::PollMessages() {
  // Bounded, so a source that is always ready cannot keep the program from its own work.
  for (int i = 0; i < 10000 && g_main_context_iteration(nullptr, FALSE); ++i) {}
}

void TGtkGUIDriver::WaitMessages() {
  g_main_context_iteration(nullptr, TRUE);
  PollMessages();
}

void TGtkGUIDriver::RepaintNow(std::intptr_t native_window) { paint_now(reinterpret_cast<GtkWidget*>(native_window)); }

void TGtkGUIDriver::OpenAddress(std::string_view address) {
  const std::string uri(address);
  g_app_info_launch_default_for_uri(uri.c_str(), nullptr, nullptr);
}

}  // namespace raziz::ui::gtk
