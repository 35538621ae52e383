#include "ui/widgets/gtk/gtk_gadget.h"

#include "ui/widgets/core/contrast.h"
#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/input.h"
#include "ui/widgets/gtk/place.h"
#include "ui/widgets/gtk/text_colour.h"

namespace raziz::ui::gtk {

bool TGtkGadget::program_focus = false;

TGtkGadget* TGtkGadget::container() const { return dynamic_cast<TGtkGadget*>(parent); }

void TGtkGadget::Adopt(GtkWidget* widget) {
  widget_ = widget;
  g_object_ref_sink(widget_);
  if (TGtkGadget* c = container(); c && c->client_place()) {
    const Rect inner = PlacedClientArea(*c);
    place_put(c->client_place(), widget_, inner.x, inner.y, 0, 0);
  }
  ApplyTextColour();
  if (gtk_widget_get_can_focus(widget_)) {
    Connect("focus-in-event", to_callback([](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
              static_cast<TGtkGadget*>(self)->ReportFocusIn();
              return FALSE;
            }));
  }
}

gulong TGtkGadget::Connect(const char* signal, GCallback callback) { return ConnectTo(widget_, signal, callback); }

gulong TGtkGadget::ConnectTo(gpointer instance, const char* signal, GCallback callback) {
  const gulong id = g_signal_connect(instance, signal, callback, this);
  handlers_.emplace_back(instance, id);
  return id;
}

void TGtkGadget::ReportFocusIn() {
  if (program_focus || !raises_events()) return;
  // A window that is (re)activated hands GTK's remembered focus widget a focus-in too; only a focus taken
  // inside the active window is the user's doing.
  GtkWidget* top = gtk_widget_get_toplevel(widget_);
  if (GTK_IS_WINDOW(top) && !gtk_window_has_toplevel_focus(GTK_WINDOW(top))) return;
  input::FocusGained(this);
}

void TGtkGadget::NativeGeometry() {
  TGtkGadget* c = container();
  if (!widget_ || !c || !c->client_place()) return;
  const Rect inner = PlacedClientArea(*c);
  const Rect r = PlacedRect(*this);
  place_put(c->client_place(), widget_, inner.x + r.x, inner.y + r.y, r.width, r.height);
  c->ChildPlaced(*this);
}

void TGtkGadget::ApplyTextColour() {
  if (widget_) set_text_colour(widget_, TextColourFor(*this));
}

void TGtkGadget::NativeShow() {
  if (widget_) gtk_widget_show(widget_);
}

void TGtkGadget::NativeFocus() {
  if (!widget_) return;
  program_focus = true;
  if (gtk_widget_get_can_focus(widget_)) {
    gtk_widget_grab_focus(widget_);
  } else if (GtkWidget* top = gtk_widget_get_toplevel(widget_); GTK_IS_WINDOW(top)) {
    // Panels take the focus only in the sense that no control holds it any more.
    gtk_window_set_focus(GTK_WINDOW(top), nullptr);
  }
  program_focus = false;
}

void TGtkGadget::NativeAccessibleName() {
  if (!widget_) return;
  if (AtkObject* a = gtk_widget_get_accessible(widget_)) atk_object_set_name(a, accessible_name().c_str());
}

void TGtkGadget::NativeDestroy() {
  if (!widget_) return;
  for (auto [instance, id] : handlers_)
    if (g_signal_handler_is_connected(instance, id)) g_signal_handler_disconnect(instance, id);
  handlers_.clear();
  gtk_widget_destroy(widget_);
  g_object_unref(widget_);
  widget_ = nullptr;
}

std::intptr_t TGtkGadget::NativeHandle(int which) {
  if (which == 2 && client_place()) return reinterpret_cast<std::intptr_t>(client_place());
  return reinterpret_cast<std::intptr_t>(widget_);
}

}  // namespace raziz::ui::gtk
