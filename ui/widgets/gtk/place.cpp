#include "ui/widgets/gtk/place.h"

namespace raziz::ui::gtk {

namespace {

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

struct RazizPlace {
  GtkFixed parent;
  PaintFace paint;
  void* owner;
  bool clipped;
  Rect clip;
};

struct RazizPlaceClass {
  GtkFixedClass parent_class;
};

GType raziz_place_get_type();
G_DEFINE_TYPE(RazizPlace, raziz_place, GTK_TYPE_FIXED)

RazizPlace* as_place(GtkWidget* w) { return G_TYPE_CHECK_INSTANCE_CAST(w, raziz_place_get_type(), RazizPlace); }

GQuark rect_quark() {
  static const GQuark q = g_quark_from_static_string("raziz-place-rect");
  return q;
}

// Our size is what the owner requests; the children never widen it.
void preferred_zero(GtkWidget*, gint* minimum, gint* natural) { *minimum = *natural = 0; }

void size_allocate(GtkWidget* widget, GtkAllocation* allocation) {
  gtk_widget_set_allocation(widget, allocation);
  if (gtk_widget_get_has_window(widget) && gtk_widget_get_realized(widget))
    gdk_window_move_resize(gtk_widget_get_window(widget), allocation->x, allocation->y, allocation->width,
                           allocation->height);
  const bool own_window = gtk_widget_get_has_window(widget);
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* l = children; l; l = l->next) {
    auto* child = GTK_WIDGET(l->data);
    if (!gtk_widget_get_visible(child)) continue;
    const auto* r = static_cast<const Rect*>(g_object_get_qdata(G_OBJECT(child), rect_quark()));
    if (!r) continue;
    // GTK wants every child asked for its size before it is given one, even a smaller one.
    GtkRequisition unused;
    gtk_widget_get_preferred_size(child, &unused, nullptr);
    GtkAllocation a{r->x, r->y, r->width, r->height};
    if (!own_window) {
      a.x += allocation->x;
      a.y += allocation->y;
    }
    gtk_widget_size_allocate(child, &a);
  }
  g_list_free(children);
}

gboolean draw(GtkWidget* widget, cairo_t* cr) {
  RazizPlace* place = as_place(widget);
  if (place->paint) place->paint(widget, cr, place->owner);
  cairo_save(cr);
  if (place->clipped) {
    cairo_rectangle(cr, place->clip.x, place->clip.y, place->clip.width, place->clip.height);
    cairo_clip(cr);
  }
  // Each child draws only inside its own rectangle, as a native child window would: a label's wrapped
  // lines end at its bottom edge, and a theme's minimum sizes cannot spill over a neighbour.
  GtkAllocation own;
  gtk_widget_get_allocation(widget, &own);
  const bool own_window = gtk_widget_get_has_window(widget);
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* l = children; l; l = l->next) {
    auto* child = GTK_WIDGET(l->data);
    if (!gtk_widget_get_visible(child) || !gtk_widget_get_child_visible(child)) continue;
    GtkAllocation a;
    gtk_widget_get_allocation(child, &a);
    cairo_save(cr);
    cairo_rectangle(cr, own_window ? a.x : a.x - own.x, own_window ? a.y : a.y - own.y, a.width, a.height);
    cairo_clip(cr);
    gtk_container_propagate_draw(GTK_CONTAINER(widget), child, cr);
    cairo_restore(cr);
  }
  g_list_free(children);
  cairo_restore(cr);
  return FALSE;
}

void raziz_place_class_init(RazizPlaceClass* klass) {
  auto* widget_class = GTK_WIDGET_CLASS(klass);
  widget_class->get_preferred_width = preferred_zero;
  widget_class->get_preferred_height = preferred_zero;
  widget_class->size_allocate = size_allocate;
  widget_class->draw = draw;
}

void raziz_place_init(RazizPlace* place) {
  place->paint = nullptr;
  place->owner = nullptr;
  place->clipped = false;
  place->clip = {};
}

}  // namespace

GtkWidget* place_new() { return GTK_WIDGET(g_object_new(raziz_place_get_type(), nullptr)); }

void place_put(GtkWidget* place, GtkWidget* child, int x, int y, int width, int height) {
  auto* r = new Rect{x, y, width, height};
  g_object_set_qdata_full(G_OBJECT(child), rect_quark(), r, [](gpointer p) { delete static_cast<Rect*>(p); });
  if (gtk_widget_get_parent(child) == place) gtk_fixed_move(GTK_FIXED(place), child, x, y);
  else gtk_fixed_put(GTK_FIXED(place), child, x, y);
  gtk_widget_queue_resize(child);
}

void place_set_clip(GtkWidget* place, int x, int y, int width, int height) {
  RazizPlace* p = as_place(place);
  p->clipped = true;
  p->clip = {x, y, width, height};
}

void place_set_painter(GtkWidget* place, PaintFace paint, void* owner) {
  RazizPlace* p = as_place(place);
  p->paint = paint;
  p->owner = owner;
}

}  // namespace raziz::ui::gtk
