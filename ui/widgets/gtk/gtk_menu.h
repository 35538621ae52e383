#pragma once
// A menu item. It has no widget of its own until its window rebuilds the menu bar from the tree.

#include "ui/widgets/gtk/gtk_gadget.h"

namespace raziz::ui::gtk {

class TGtkMenu : public TGtkGadget {
 public:
  using TGtkGadget::TGtkGadget;

  // Builds the GTK menu item for this item and, below it, its children; reports choices of leaves.
  GtkWidget* Build();

 protected:
  void NativeDestroy() override;

 private:
  GtkWidget* item_ = nullptr;
};

// Appends the entries for `items` to a menu shell. False when an item cannot be placed.
bool BuildMenuShell(GtkWidget* shell, const std::vector<TGadget*>& items);

}  // namespace raziz::ui::gtk
