// The GTK driver on a Wayland desktop (a private headless weston): GTK draws the title bar itself there,
// inside the window, and it takes its place out of the window's outer frame as a window manager's frame
// does on X11.

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <chrono>
#include <thread>

#include "tests/gtk/private_desktop.h"
#include "ui/widgets/core/event.h"
#include "ui/widgets/core/gadget.h"
#include "ui/widgets/core/testing.h"
#include "ui/widgets/gtk/gtk_driver.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

void Pump(double seconds) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < give_up) {
    Poll();
    while (PendingEvents() > 0) TakeEvent();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

TEST(GtkOnWayland, TheClientAreaIsTheOuterFrameLessGtksOwnTitleBarAndTheMenuBarButHoldsTheLayout) {
  test::PrivateDesktop desktop(test::PrivateDesktop::Kind::wayland);
  ASSERT_TRUE(desktop.start()) << desktop.log();
  auto driver = gtk::TGtkGUIDriver::Open();
  ASSERT_NE(driver, nullptr);
  StartWidgets(*driver);

  struct Case {
    const char* name;
    bool menu_bar;
    int width, height;       // the outer frame asked for
    int reach_w, reach_h;    // how far the controls reach
    int client_w, client_h;  // -1: whatever the title bar leaves
  };
  // The main window's strips need 474 where 526 less title bar and menu bar would leave less; a dialog's
  // contents fit.
  const Case cases[] = {{"main window", true, 809, 526, 798, 474, 809, 474},
                        {"dialog", false, 364, 285, 325, 233, 364, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGadget* window = NewWindow("Test", 100, 100, c.width, c.height, nullptr, 1);
    if (c.menu_bar) {
      NewMenuItem("File", 0, window, 0, 0);
      window->UpdateMenu();
    }
    NewPanel(c.reach_w - 88, c.reach_h - 480, 88, 480, window, 3, "");
    Pump(1.0);

    auto* top = reinterpret_cast<GtkWidget*>(window->Query(1));
    auto* client = reinterpret_cast<GtkWidget*>(window->Query(2));
    ASSERT_TRUE(gtk_widget_get_mapped(top));
    GtkWidget* content = gtk_bin_get_child(GTK_BIN(top));
    GtkAllocation whole, area;
    gtk_widget_get_allocation(content, &whole);  // menu bar and client area, below the title bar
    gtk_widget_get_allocation(client, &area);
    GtkWidget* title_bar = nullptr;
    gtk_container_forall(
        GTK_CONTAINER(top),
        [](GtkWidget* child, gpointer found) {
          if (GTK_IS_HEADER_BAR(child)) *static_cast<GtkWidget**>(found) = child;
        },
        &title_bar);
    ASSERT_NE(title_bar, nullptr) << "GTK draws no title bar of its own here";
    GtkAllocation title;
    gtk_widget_get_allocation(title_bar, &title);

    EXPECT_EQ(area.width, c.client_w);
    if (c.client_h > 0) {
      EXPECT_EQ(area.height, c.client_h) << "an empty band under the contents";
    } else {
      EXPECT_EQ(title.height + whole.height, c.height) << "title bar " << title.height << ", below it " << whole.height;
    }
    EXPECT_GE(area.width, c.reach_w);
    EXPECT_GE(area.height, c.reach_h);
    window->CleanUp();
    Pump(0.2);
  }
  ResetWidgetsForTests();
}

}  // namespace
}  // namespace raziz::test
