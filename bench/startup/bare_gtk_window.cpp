// The peer for the start-up comparison: a bare GTK 3 window of the main window's size, started the way
// raziz is (same toolkit initialisation, same display), and nothing else. With the argument "label" it
// shows one line of text too, which costs the fontconfig start that any window with text pays.
#include <gtk/gtk.h>

#include <cstring>

int main(int argc, char** argv) {
  const bool with_label = argc > 1 && std::strcmp(argv[1], "label") == 0;
  if (!gtk_init_check(nullptr, nullptr)) return 1;
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "bare");
  gtk_window_move(GTK_WINDOW(window), 100, 100);
  gtk_window_set_default_size(GTK_WINDOW(window), 807, 505);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  if (with_label) gtk_container_add(GTK_CONTAINER(window), gtk_label_new("Raziz"));
  g_signal_connect(window, "delete-event", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
