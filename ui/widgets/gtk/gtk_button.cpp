#include "ui/widgets/core/input.h"
#include "ui/widgets/core/styles.h"
#include "ui/widgets/gtk/gtk_controls.h"
#include "ui/widgets/core/contrast.h"
#include "ui/widgets/gtk/signal_block.h"
#include "ui/widgets/gtk/text_colour.h"

namespace raziz::ui::gtk {

bool TGtkButton::check_box() const { return DrawnAsBox(*this); }

// The caption is a label of its own, which the theme colours apart from the button.
void TGtkButton::ApplyTextColour() {
  TGtkGadget::ApplyTextColour();
  if (label_) set_text_colour(label_, TextColourFor(*this));
}

void TGtkButton::NativeCreate() {
  // A caption too long for the button wraps onto further lines inside it.
  label_ = gtk_label_new("");
  gtk_label_set_line_wrap(GTK_LABEL(label_), TRUE);
  gtk_label_set_line_wrap_mode(GTK_LABEL(label_), PANGO_WRAP_WORD_CHAR);
  gtk_widget_show(label_);
  GtkWidget* button;
  if (check_box()) {
    button = gtk_check_button_new();
    gtk_label_set_xalign(GTK_LABEL(label_), 0.0f);
  } else {
    button = gtk_button_new();
    gtk_label_set_justify(GTK_LABEL(label_), GTK_JUSTIFY_CENTER);
  }
  gtk_container_add(GTK_CONTAINER(button), label_);
  gtk_style_context_add_class(gtk_widget_get_style_context(button), "raziz");
  Adopt(button);
  // For a check box GTK has flipped its own mark by now; the core flips its mark and applies it back.
  clicked_ = Connect("clicked", to_callback([](GtkButton*, gpointer self) {
                       auto* b = static_cast<TGtkButton*>(self);
                       if (b->raises_events()) input::Clicked(b);
                     }));
}

void TGtkButton::NativeText() { gtk_label_set_text(GTK_LABEL(label_), text().c_str()); }

void TGtkButton::NativeCheck() {
  if (!check_box()) return;
  SignalBlock quiet(widget_, {clicked_});  // set_active emits "clicked"
  gtk_toggle_button_set_inconsistent(GTK_TOGGLE_BUTTON(widget_), check() == -1);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget_), check() != 0);
}

}  // namespace raziz::ui::gtk
