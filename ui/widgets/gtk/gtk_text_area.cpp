#include <string>

#include "ui/widgets/core/input.h"
#include "ui/widgets/core/styles.h"
#include "ui/widgets/gtk/gtk_controls.h"
#include "ui/widgets/gtk/signal_block.h"
#include "ui/widgets/gtk/utf8_offsets.h"

namespace raziz::ui::gtk {

namespace {

// A carriage return starts a line, as does a CR LF pair; GTK's buffer knows only "\n".
std::string to_lines(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string from_lines(std::string text) {
  for (char& c : text)
    if (c == '\n') c = '\r';
  return text;
}

void selection_of(GtkTextBuffer* buffer, const std::string& text, int& start, int& end) {
  GtkTextIter ins, bound;
  gtk_text_buffer_get_iter_at_mark(buffer, &bound, gtk_text_buffer_get_selection_bound(buffer));
  gtk_text_buffer_get_iter_at_mark(buffer, &ins, gtk_text_buffer_get_insert(buffer));
  start = chars_to_bytes(text, gtk_text_iter_get_offset(&bound));
  end = chars_to_bytes(text, gtk_text_iter_get_offset(&ins));
}

}  // namespace

std::string TGtkTextArea::Contents() const {
  GtkTextIter a, b;
  gtk_text_buffer_get_bounds(buffer_, &a, &b);
  gchar* t = gtk_text_buffer_get_text(buffer_, &a, &b, FALSE);
  std::string s = from_lines(t);
  g_free(t);
  return s;
}

void TGtkTextArea::NativeCreate() {
  GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
  view_ = gtk_text_view_new();
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view_), WrapsLines(*this) ? GTK_WRAP_WORD : GTK_WRAP_NONE);
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view_), !IsReadOnly(*this));
  gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view_), 2);
  buffer_ = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view_));
  gtk_container_add(GTK_CONTAINER(scroller), view_);
  gtk_widget_show(view_);
  gtk_style_context_add_class(gtk_widget_get_style_context(scroller), "raziz");
  Adopt(scroller);

  ConnectTo(view_, "focus-in-event", to_callback([](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
              static_cast<TGtkTextArea*>(self)->ReportFocusIn();
              return FALSE;
            }));
  reports_.push_back(ConnectTo(buffer_, "changed", to_callback([](GtkTextBuffer* b, gpointer self) {
                                 auto* area = static_cast<TGtkTextArea*>(self);
                                 if (!area->raises_events()) return;
                                 const std::string text = area->Contents();
                                 int start = 0, end = 0;
                                 selection_of(b, text, start, end);
                                 input::TextEdited(area, text, start, end);
                               })));
  reports_.push_back(
      ConnectTo(buffer_, "mark-set", to_callback([](GtkTextBuffer* b, GtkTextIter*, GtkTextMark* mark, gpointer self) {
                  auto* area = static_cast<TGtkTextArea*>(self);
                  if (!area->raises_events()) return;
                  if (mark != gtk_text_buffer_get_insert(b) && mark != gtk_text_buffer_get_selection_bound(b)) return;
                  int start = 0, end = 0;
                  selection_of(b, area->Contents(), start, end);
                  if (start != area->selection_start() || end != area->selection_end())
                    input::SelectionChanged(area, start, end);
                })));
  // A right click is reported, and GTK's own context menu stays closed.
  ConnectTo(view_, "button-press-event", to_callback([](GtkWidget* v, GdkEventButton* e, gpointer self) -> gboolean {
              auto* area = static_cast<TGtkTextArea*>(self);
              if (e->type != GDK_BUTTON_PRESS || e->button != 3) return FALSE;
              if (area->raises_events()) {
                int x = 0, y = 0;
                gtk_widget_translate_coordinates(v, area->widget_, static_cast<int>(e->x), static_cast<int>(e->y), &x,
                                                 &y);
                input::ContextMenu(area, x, y);
              }
              return TRUE;
            }));
}

void TGtkTextArea::NativeText() {
  SignalBlock quiet(buffer_, reports_);
  const std::string lines = to_lines(text());
  gtk_text_buffer_set_text(buffer_, lines.c_str(), static_cast<int>(lines.size()));
  GtkTextIter start;
  gtk_text_buffer_get_start_iter(buffer_, &start);
  gtk_text_buffer_place_cursor(buffer_, &start);
}

void TGtkTextArea::NativeFocus() {
  program_focus = true;
  gtk_widget_grab_focus(view_);
  program_focus = false;
}

}  // namespace raziz::ui::gtk
