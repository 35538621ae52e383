#include "ui/widgets/gtk/frame_extents.h"

#include <gdk/gdkx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

namespace raziz::ui::gtk {

namespace {

GdkWindow* x11_window(GtkWidget* window) {
  if (!GDK_IS_X11_DISPLAY(gtk_widget_get_display(window))) return nullptr;
  return gtk_widget_get_window(window);
}

}  // namespace

bool await_frame_extents(GtkWidget* window, int extents[4]) {
  GdkWindow* gw = x11_window(window);
  if (!gw || !gdk_x11_screen_supports_net_wm_hint(gdk_window_get_screen(gw),
                                                  gdk_atom_intern_static_string("_NET_REQUEST_FRAME_EXTENTS")))
    return false;
  Display* dpy = GDK_WINDOW_XDISPLAY(gw);
  const Window xid = GDK_WINDOW_XID(gw);
  const Atom extents_atom = XInternAtom(dpy, "_NET_FRAME_EXTENTS", False);
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = xid;
  ev.xclient.message_type = XInternAtom(dpy, "_NET_REQUEST_FRAME_EXTENTS", False);
  ev.xclient.format = 32;
  XSendEvent(dpy, DefaultRootWindow(dpy), False, SubstructureNotifyMask | SubstructureRedirectMask, &ev);
  XFlush(dpy);

  // Sleep on the connection until the window manager's answer, the property change, comes in.
  struct Match {
    Window window;
    Atom atom;
  } match{xid, extents_atom};
  auto is_answer = [](Display*, XEvent* e, XPointer arg) -> Bool {
    const auto* m = reinterpret_cast<const Match*>(arg);
    return e->type == PropertyNotify && e->xproperty.window == m->window && e->xproperty.atom == m->atom;
  };
  const gint64 deadline = g_get_monotonic_time() + 500000;
  XEvent answer;
  while (!XCheckIfEvent(dpy, &answer, is_answer, reinterpret_cast<XPointer>(&match))) {
    const gint64 left = deadline - g_get_monotonic_time();
    if (left <= 0) break;
    pollfd pfd{ConnectionNumber(dpy), POLLIN, 0};
    poll(&pfd, 1, static_cast<int>(left / 1000) + 1);
  }
  return read_frame_extents(window, extents);
}

bool read_frame_extents(GtkWidget* window, int extents[4]) {
  GdkWindow* gw = x11_window(window);
  if (!gw) return false;
  Display* dpy = GDK_WINDOW_XDISPLAY(gw);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  bool ok = false;
  if (XGetWindowProperty(dpy, GDK_WINDOW_XID(gw), XInternAtom(dpy, "_NET_FRAME_EXTENTS", False), 0, 4, False,
                         XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
      data && format == 32 && count == 4) {
    // Xlib hands 32-bit properties over as longs.
    const auto* v = reinterpret_cast<const long*>(data);
    for (int i = 0; i < 4; ++i) extents[i] = static_cast<int>(v[i]);
    ok = true;
  }
  if (data) XFree(data);
  return ok;
}

bool client_side_title_bar(GtkWidget* window, int extents[4]) {
  // The title bar is one of the window's internal children, beside the one child the program added.
  struct Search {
    GtkWidget* content;
    GtkWidget* title_bar = nullptr;
  } search{gtk_bin_get_child(GTK_BIN(window))};
  gtk_container_forall(
      GTK_CONTAINER(window),
      [](GtkWidget* child, gpointer data) {
        auto* s = static_cast<Search*>(data);
        if (child != s->content && gtk_widget_get_visible(child)) s->title_bar = child;
      },
      &search);
  if (!search.title_bar) return false;
  int height = 0;
  gtk_widget_get_preferred_height(search.title_bar, nullptr, &height);
  extents[0] = extents[1] = extents[3] = 0;
  extents[2] = height;
  return height > 0;
}

}  // namespace raziz::ui::gtk
