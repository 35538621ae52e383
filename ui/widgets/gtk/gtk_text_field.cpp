#include <string>

#include "ui/widgets/core/input.h"
#include "ui/widgets/core/styles.h"
#include "ui/widgets/gtk/gtk_controls.h"
#include "ui/widgets/gtk/signal_block.h"
#include "ui/widgets/gtk/utf8_offsets.h"

namespace raziz::ui::gtk {

namespace {

void report_selection(GtkEntry* entry, int& start, int& end) {
  const std::string text = gtk_entry_get_text(entry);
  int from = 0, to = 0;
  const int caret = gtk_editable_get_position(GTK_EDITABLE(entry));
  if (gtk_editable_get_selection_bounds(GTK_EDITABLE(entry), &from, &to)) {
    // The caret is the end of the selection that moves; GTK reports the bounds in order.
    start = chars_to_bytes(text, caret == from ? to : from);
    end = chars_to_bytes(text, caret);
  } else {
    start = end = chars_to_bytes(text, caret);
  }
}

}  // namespace

void TGtkTextField::NativeCreate() {
  GtkWidget* entry = gtk_entry_new();
  gtk_entry_set_width_chars(GTK_ENTRY(entry), 1);
  gtk_entry_set_has_frame(GTK_ENTRY(entry), TRUE);
  if (HidesTypedText(*this)) gtk_entry_set_visibility(GTK_ENTRY(entry), FALSE);
  gtk_style_context_add_class(gtk_widget_get_style_context(entry), "raziz");
  Adopt(entry);
  reports_.push_back(Connect("changed", to_callback([](GtkEditable* e, gpointer self) {
                               auto* f = static_cast<TGtkTextField*>(self);
                               if (!f->raises_events()) return;
                               int start = 0, end = 0;
                               report_selection(GTK_ENTRY(e), start, end);
                               input::TextEdited(f, gtk_entry_get_text(GTK_ENTRY(e)), start, end);
                             })));
  auto selection_moved = to_callback([](GObject* e, GParamSpec*, gpointer self) {
    auto* f = static_cast<TGtkTextField*>(self);
    if (!f->raises_events()) return;
    int start = 0, end = 0;
    report_selection(GTK_ENTRY(e), start, end);
    if (start != f->selection_start() || end != f->selection_end()) input::SelectionChanged(f, start, end);
  });
  reports_.push_back(Connect("notify::cursor-position", selection_moved));
  reports_.push_back(Connect("notify::selection-bound", selection_moved));
}

void TGtkTextField::NativeText() {
  SignalBlock quiet(widget_, reports_);
  gtk_entry_set_text(GTK_ENTRY(widget_), text().c_str());
  ApplySelection();
}

void TGtkTextField::NativeSelection() {
  SignalBlock quiet(widget_, reports_);
  ApplySelection();
}

void TGtkTextField::ApplySelection() {
  const std::string& t = text();
  // select_region puts the caret at its second argument.
  gtk_editable_select_region(GTK_EDITABLE(widget_), bytes_to_chars(t, selection_start()),
                             bytes_to_chars(t, selection_end()));
}

}  // namespace raziz::ui::gtk
