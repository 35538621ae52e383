#include "ui/widgets/gtk/gtk_window.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/input.h"
#include "ui/widgets/core/layout_scale.h"
#include "ui/widgets/core/styles.h"
#include "ui/widgets/gtk/frame_extents.h"
#include "ui/widgets/gtk/gtk_menu.h"
#include "ui/widgets/gtk/place.h"

namespace raziz::ui::gtk {

namespace {

// What the window manager said its frame takes. The first window asks before it is mapped; should the
// answer come late, that window keeps the larger client area (GTK does not shrink a fixed-size window),
// and later windows are sized right.
std::optional<TGtkWindow::Extents> g_extents;

std::optional<Key> key_of(guint keyval) {
  switch (keyval) {
    case GDK_KEY_Tab:
    case GDK_KEY_KP_Tab:
    case GDK_KEY_ISO_Left_Tab: return Key::kTab;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter: return Key::kEnter;
    case GDK_KEY_Escape: return Key::kEscape;
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up: return Key::kUp;
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down: return Key::kDown;
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left: return Key::kLeft;
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right: return Key::kRight;
    case GDK_KEY_Page_Up:
    case GDK_KEY_KP_Page_Up: return Key::kPageUp;
    case GDK_KEY_Page_Down:
    case GDK_KEY_KP_Page_Down: return Key::kPageDown;
    case GDK_KEY_Home:
    case GDK_KEY_KP_Home: return Key::kHome;
    case GDK_KEY_End:
    case GDK_KEY_KP_End: return Key::kEnd;
    default: return std::nullopt;
  }
}

}  // namespace

void TGtkWindow::NativeCreate() {
  widget_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g_object_ref_sink(widget_);
  gtk_window_set_resizable(GTK_WINDOW(widget_), IsResizable(*this));
  SetLayoutScale(*this, TextScale());
  gtk_widget_add_events(widget_, GDK_PROPERTY_CHANGE_MASK | GDK_STRUCTURE_MASK);

  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  menu_bar_ = gtk_menu_bar_new();
  client_ = gtk_event_box_new();
  gtk_event_box_set_visible_window(GTK_EVENT_BOX(client_), TRUE);
  place_ = place_new();
  gtk_container_add(GTK_CONTAINER(client_), place_);
  gtk_box_pack_start(GTK_BOX(box), menu_bar_, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), client_, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(widget_), box);
  gtk_widget_show(box);
  gtk_widget_show(client_);
  gtk_widget_show(place_);

  Connect("delete-event", to_callback([](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
            auto* w = static_cast<TGtkWindow*>(self);
            if (w->raises_events()) input::CloseAsked(w);
            return TRUE;  // only CleanUp removes a window
          }));
  Connect("key-press-event", to_callback([](GtkWidget*, GdkEventKey* e, gpointer self) -> gboolean {
            return static_cast<TGtkWindow*>(self)->OnKeyPress(*e);
          }));
  Connect("focus-in-event", to_callback([](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
            auto* w = static_cast<TGtkWindow*>(self);
            if (!w->raises_events()) return FALSE;
            // A window just shown or re-activated has the focus on itself, not on the control GTK remembers.
            program_focus = true;
            gtk_window_set_focus(GTK_WINDOW(w->widget_), nullptr);
            program_focus = false;
            input::WindowActivated(w);
            return FALSE;
          }));
  Connect("configure-event", to_callback([](GtkWidget*, GdkEventConfigure* e, gpointer self) -> gboolean {
            auto* w = static_cast<TGtkWindow*>(self);
            // The window manager publishes its frame extents by the time it configures the window.
            if (!g_extents) w->ReadFrameExtents();
            if (!w->raises_events()) return FALSE;
            const Extents ext = g_extents.value_or(Extents{});
            const int x = e->x - ext.left, y = e->y - ext.top;
            const int outer_w = e->width + ext.left + ext.right, outer_h = e->height + ext.top + ext.bottom;
            if (!w->placed_) {
              // The window manager first shows a new window where it starts windows, at the size it was
              // realized with; none of that is the user's doing. Once the frame stands where it was asked
              // for, the window is placed, and from then on a change is reported.
              if (x != w->last_x_ || y != w->last_y_) return FALSE;
              w->placed_ = true;
              w->last_w_ = outer_w, w->last_h_ = outer_h;
              return FALSE;
            }
            if (x != w->last_x_ || y != w->last_y_) input::WindowMoved(w, x, y);
            if (outer_w != w->last_w_ || outer_h != w->last_h_) input::WindowSized(w, outer_w, outer_h);
            w->last_x_ = x, w->last_y_ = y, w->last_w_ = outer_w, w->last_h_ = outer_h;
            return FALSE;
          }));
  Connect("property-notify-event", to_callback([](GtkWidget*, GdkEventProperty* e, gpointer self) -> gboolean {
            if (e->atom == gdk_atom_intern_static_string("_NET_FRAME_EXTENTS"))
              static_cast<TGtkWindow*>(self)->ReadFrameExtents();
            return FALSE;
          }));
  Connect("realize", to_callback([](GtkWidget* widget, gpointer self) {
            auto* w = static_cast<TGtkWindow*>(self);
            GdkWindow* gw = gtk_widget_get_window(widget);
            // A fixed-size window: a title bar with a close box, no minimise or maximise box.
            if (!IsResizable(*w)) {
              gdk_window_set_decorations(gw, GdkWMDecoration(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU));
              gdk_window_set_functions(gw, GdkWMFunction(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
            }
          }));
  // Presses a control let through reach here too, with coordinates in that control's own window (a field
  // lets a double click through): the point is taken from the screen, and only a first press counts.
  ConnectTo(client_, "button-press-event",
            to_callback([](GtkWidget* client, GdkEventButton* e, gpointer self) -> gboolean {
              if (e->type != GDK_BUTTON_PRESS) return FALSE;
              int ox = 0, oy = 0;
              gdk_window_get_origin(gtk_widget_get_window(client), &ox, &oy);
              static_cast<TGtkWindow*>(self)->ClientPressed(static_cast<int>(std::lround(e->x_root)) - ox,
                                                            static_cast<int>(std::lround(e->y_root)) - oy);
              return FALSE;
            }));
  ConnectTo(client_, "draw", to_callback([](GtkWidget* widget, cairo_t* cr, gpointer self) -> gboolean {
              auto* w = static_cast<TGtkWindow*>(self);
              if (w->has_color()) {
                const Rgb c = w->color();
                cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
                cairo_rectangle(cr, 0, 0, gtk_widget_get_allocated_width(widget),
                                gtk_widget_get_allocated_height(widget));
                cairo_fill(cr);
              }
              return FALSE;
            }));
}

// The layouts were drawn for an 8-point dialog font at 96 dpi. Where the desktop asks for larger text (a
// higher font resolution or a larger size), the layout grows by as much, so captions keep fitting their
// boxes. Eighths absorb a resolution a little off 96; the layout never shrinks below its drawn size.
double TGtkWindow::TextScale() {
  constexpr double kDesignPixels = 8.0 * 96.0 / 72.0;
  GtkWidget* probe = gtk_label_new("");
  g_object_ref_sink(probe);
  GtkStyleContext* context = gtk_widget_get_style_context(probe);
  gtk_style_context_add_class(context, "raziz");
  PangoFontDescription* font = nullptr;
  gtk_style_context_get(context, GTK_STATE_FLAG_NORMAL, "font", &font, nullptr);
  double resolution = pango_cairo_context_get_resolution(gtk_widget_get_pango_context(probe));
  if (resolution <= 0) resolution = 96.0;
  double pixels = kDesignPixels;
  if (font && pango_font_description_get_size(font) > 0) {
    const double size = static_cast<double>(pango_font_description_get_size(font)) / PANGO_SCALE;
    pixels = pango_font_description_get_size_is_absolute(font) ? size : size * resolution / 72.0;
  }
  if (font) pango_font_description_free(font);
  g_object_unref(probe);
  return std::max(1.0, std::round(pixels / kDesignPixels * 8.0) / 8.0);
}

void TGtkWindow::NativeText() { gtk_window_set_title(GTK_WINDOW(widget_), text().c_str()); }

void TGtkWindow::NativeGeometry() {
  // The frame's top-left corner goes where asked: GTK's default gravity places the frame, not the client.
  const Rect frame = PlacedRect(*this);
  gtk_window_move(GTK_WINDOW(widget_), frame.x, frame.y);
  last_x_ = frame.x, last_y_ = frame.y, last_w_ = frame.width, last_h_ = frame.height;
  FitClientArea();
}

void TGtkWindow::ChildPlaced(TGtkGadget& /*child*/) { FitClientArea(); }

void TGtkWindow::FitClientArea() {
  const Extents e = g_extents.value_or(Extents{});
  int bar = 0;
  if (gtk_widget_get_visible(menu_bar_)) gtk_widget_get_preferred_height(menu_bar_, &bar, nullptr);
  const Size client = ClientSizeFor(*this, Decorations{e.left, e.right, e.top, e.bottom, bar});
  gtk_widget_set_size_request(client_, std::max(client.width, 1), std::max(client.height, 1));
  gtk_widget_set_size_request(place_, std::max(client.width, 1), std::max(client.height, 1));
}

void TGtkWindow::ReadFrameExtents() {
  int e[4];
  if (!read_frame_extents(widget_, e)) return;
  g_extents = Extents{e[0], e[1], e[2], e[3]};
  FitClientArea();
}

void TGtkWindow::NativeShow() {
  // The first window learns the decorations before it is mapped, so that it is mapped at its final size.
  if (!g_extents) {
    gtk_widget_realize(widget_);
    if (int e[4]; await_frame_extents(widget_, e) || client_side_title_bar(widget_, e))
      g_extents = Extents{e[0], e[1], e[2], e[3]};
    FitClientArea();
  }
  gtk_widget_show(widget_);
  gtk_window_present(GTK_WINDOW(widget_));
}

void TGtkWindow::NativeActivate() { gtk_window_present(GTK_WINDOW(widget_)); }

void TGtkWindow::NativeFocus() {
  program_focus = true;
  gtk_window_set_focus(GTK_WINDOW(widget_), nullptr);
  program_focus = false;
}

void TGtkWindow::NativePaint() { gtk_widget_queue_draw(client_); }

bool TGtkWindow::NativeMenuBar() {
  GList* old = gtk_container_get_children(GTK_CONTAINER(menu_bar_));
  for (GList* l = old; l; l = l->next) gtk_widget_destroy(GTK_WIDGET(l->data));
  g_list_free(old);
  bool ok = true;
  if (TGadget* root = menu_root()) ok = BuildMenuShell(menu_bar_, root->kids);
  gtk_widget_show(menu_bar_);
  FitClientArea();
  return ok;
}

bool TGtkWindow::OnKeyPress(const GdkEventKey& event) {
  if (!raises_events()) return false;
  const auto mods = event.state & gtk_accelerator_get_default_mod_mask();
  if (mods & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) return false;
  const auto key = key_of(event.keyval);
  if (!key) return false;
  const bool shift = (mods & GDK_SHIFT_MASK) || event.keyval == GDK_KEY_ISO_Left_Tab;
  return input::KeyPressed(this, *key, shift);
}

// A click on an empty part of a panel gives the panel the focus; one on a control leaves it to the control.
void TGtkWindow::ClientPressed(int x, int y) {
  if (!raises_events()) return;
  if (TGadget* hit = PanelPressedAt(*this, x, y)) input::FocusGained(hit);
}

void TGtkWindow::NativeDestroy() {
  TGtkGadget::NativeDestroy();
  menu_bar_ = client_ = place_ = nullptr;
}

}  // namespace raziz::ui::gtk
