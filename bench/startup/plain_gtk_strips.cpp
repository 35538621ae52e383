// The baseline for the start-up comparison: a plain GTK 3 program that builds what raziz's main window
// shows (the File menu, nine grey strips each with a tone button, a frequency field, a level slider, a
// level field, SQUARE and TRIANGLE boxes and the HERTZ label: the same 54 controls at the same places,
// styled the same way) with no sound, no images and no widget layer of its own. What raziz costs beyond
// this is what its own layers and its audio add.
#include <gtk/gtk.h>

#include <string>

namespace {

constexpr const char* kCss = R"css(
.raziz { font-size: 8pt; }
entry.raziz { min-height: 0; min-width: 0; padding: 0 3px; border-radius: 0;
              background-color: #ffffff; background-image: none; }
button.raziz { min-height: 0; min-width: 0; padding: 0 2px; }
checkbutton.raziz { min-height: 0; padding: 0; }
checkbutton.raziz check { margin: 0 3px 0 1px; }
scale.raziz { min-width: 0; min-height: 0; padding: 0; }
scale.raziz slider { min-width: 14px; min-height: 14px; margin: -6px; }
.strips { background-color: #c0c0c0; }
)css";

constexpr int kBands[9] = {500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150};

void put(GtkWidget* fixed, GtkWidget* w, int x, int y, int width, int height) {
  gtk_style_context_add_class(gtk_widget_get_style_context(w), "raziz");
  gtk_widget_set_size_request(w, width, height);
  gtk_fixed_put(GTK_FIXED(fixed), w, x, y);
}

GtkWidget* entry(const char* text) {
  GtkWidget* e = gtk_entry_new();
  gtk_entry_set_width_chars(GTK_ENTRY(e), 1);
  gtk_entry_set_text(GTK_ENTRY(e), text);
  return e;
}

void build_strip(GtkWidget* fixed, int band) {
  const std::string caption = std::to_string(kBands[band]);
  // The strip's frame stands 6 pixels above the client area; its inside starts 4 right and 16 down.
  const int x0 = 6 + 88 * band, y0 = -6;
  GtkWidget* frame = gtk_frame_new(nullptr);
  gtk_widget_set_size_request(frame, 88, 480);
  gtk_fixed_put(GTK_FIXED(fixed), frame, x0, y0);
  const int ix = x0 + 4, iy = y0 + 16;
  put(fixed, gtk_label_new("HERTZ"), ix + 20, iy + 55, 36, 14);
  put(fixed, gtk_button_new_with_label(caption.c_str()), ix + 9, iy + 74, 58, 34);
  put(fixed, entry(caption.c_str()), ix + 13, iy + 115, 50, 18);
  GtkAdjustment* adj = gtk_adjustment_new(105, 1, 200, 1, 10, 0);
  GtkWidget* slider = gtk_scale_new(GTK_ORIENTATION_VERTICAL, adj);
  gtk_range_set_inverted(GTK_RANGE(slider), TRUE);
  gtk_scale_set_draw_value(GTK_SCALE(slider), FALSE);
  put(fixed, slider, ix + 12 + 4 + 9, iy + 140 + 16 + 1, 23, 200);
  put(fixed, entry("50"), ix + (band == 1 ? 9 : 13), iy + 384, 50, 18);
  put(fixed, gtk_check_button_new_with_label("SQUARE"), ix + 4, iy + 410, 74, 23);
  put(fixed, gtk_check_button_new_with_label("TRIANGLE"), ix + 4, iy + 435, 74, 23);
}

}  // namespace

int main() {
  if (!gtk_init_check(nullptr, nullptr)) return 1;
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, kCss, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Raziz 1.0");
  gtk_window_move(GTK_WINDOW(window), 100, 100);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_container_add(GTK_CONTAINER(window), box);

  GtkWidget* bar = gtk_menu_bar_new();
  GtkWidget* file = gtk_menu_item_new_with_label("File");
  GtkWidget* menu = gtk_menu_new();
  for (const char* item : {"Help", "About", "Exit"})
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_menu_item_new_with_label(item));
  gtk_menu_item_set_submenu(GTK_MENU_ITEM(file), menu);
  gtk_menu_shell_append(GTK_MENU_SHELL(bar), file);
  gtk_box_pack_start(GTK_BOX(box), bar, FALSE, FALSE, 0);

  // A window of its own clips the strips, which start above the client area.
  GtkWidget* client = gtk_event_box_new();
  gtk_event_box_set_visible_window(GTK_EVENT_BOX(client), TRUE);
  gtk_style_context_add_class(gtk_widget_get_style_context(client), "strips");
  gtk_widget_set_size_request(client, 803, 474);
  GtkWidget* fixed = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(client), fixed);
  gtk_box_pack_start(GTK_BOX(box), client, TRUE, TRUE, 0);
  for (int band = 0; band < 9; ++band) build_strip(fixed, band);

  g_signal_connect(window, "delete-event", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
