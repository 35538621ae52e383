#include "ui/widgets/gtk/gtk_menu.h"

#include <string>

#include "ui/widgets/core/input.h"

namespace raziz::ui::gtk {

namespace {

// The toolkit-neutral "&" marks a mnemonic; GTK's mark is "_", and a literal "_" must be doubled.
std::string mnemonic_text(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '_') {
      out += "__";
    } else if (text[i] == '&' && i + 1 < text.size()) {
      out += text[i + 1] == '&' ? "&" : "_";
      if (text[i + 1] == '&') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

GtkWidget* TGtkMenu::Build() {
  if (name.empty() && text().empty()) return item_ = gtk_separator_menu_item_new();
  const std::string& label = name.empty() ? text() : name;
  item_ = gtk_menu_item_new_with_mnemonic(mnemonic_text(label).c_str());
  if (!kids.empty()) {
    GtkWidget* submenu = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(item_), submenu);
    BuildMenuShell(submenu, kids);
  } else {
    g_signal_connect(item_, "activate", to_callback([](GtkMenuItem*, gpointer self) {
                       auto* item = static_cast<TGtkMenu*>(self);
                       if (item->alive()) input::MenuChosen(item);
                     }),
                     this);
  }
  g_signal_connect(item_, "destroy",
                   to_callback([](GtkWidget*, gpointer self) { static_cast<TGtkMenu*>(self)->item_ = nullptr; }), this);
  return item_;
}

void TGtkMenu::NativeDestroy() {
  if (item_) {
    g_signal_handlers_disconnect_by_data(item_, this);
    gtk_widget_destroy(item_);
    item_ = nullptr;
  }
}

bool BuildMenuShell(GtkWidget* shell, const std::vector<TGadget*>& items) {
  for (TGadget* g : items) {
    auto* item = dynamic_cast<TGtkMenu*>(g);
    if (!item) continue;
    GtkWidget* w = item->Build();
    if (!w) return false;
    gtk_menu_shell_append(GTK_MENU_SHELL(shell), w);
    gtk_widget_show_all(w);
  }
  return true;
}

}  // namespace raziz::ui::gtk
