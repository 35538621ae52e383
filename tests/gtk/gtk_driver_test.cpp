// The GTK driver on real windows of a private X display with a window manager, the user's mouse played
// through XTEST: what the driver reports for what the user does on the native widgets.

// Google Test first: Xlib defines macros (None, Bool) that clash with its names.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/gtk/private_desktop.h"
#include "ui/widgets/core/event.h"
#include "ui/widgets/core/gadget.h"
#include "ui/widgets/core/pixmap.h"
#include "ui/widgets/core/testing.h"
#include "ui/widgets/gtk/gtk_driver.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

using Events = std::vector<TEvent>;

class GtkDriverTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    desktop_ = new test::PrivateDesktop(test::PrivateDesktop::Kind::x11);
    if (!desktop_->start()) return;
    driver_ = gtk::TGtkGUIDriver::Open().release();  // GTK stays open for the process
    if (driver_) StartWidgets(*driver_);
  }
  static void TearDownTestSuite() {
    ResetWidgetsForTests();
    delete desktop_;
  }
  void SetUp() override {
    ASSERT_NE(driver_, nullptr) << "no private desktop: " << desktop_->log();
    user_ = XOpenDisplay(nullptr);
    ASSERT_NE(user_, nullptr);
  }
  void TearDown() override {
    if (user_) XCloseDisplay(user_);
  }

  // Pumps for up to `seconds`, taking every event raised, until `done` holds for what was taken.
  static Events Pump(double seconds, const std::function<bool(const Events&)>& done = {}) {
    Events events;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < give_up) {
      Poll();
      while (PendingEvents() > 0) {
        TakeEvent();
        events.push_back(CurrentEvent());
      }
      if (done && done(events)) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return events;
  }
  static bool Has(const Events& events, int id, const TGadget* source) {
    for (const TEvent& e : events)
      if (e.id == id && e.source == source) return true;
    return false;
  }
  static std::string Describe(const Events& events) {
    std::string s;
    char one[48];
    for (const TEvent& e : events) {
      std::snprintf(one, sizeof one, "0x%04x(%d) ", static_cast<unsigned>(e.id), e.data);
      s += one;
    }
    return s;
  }

  // A shown window that has become active, with every event its creation raised.
  static std::pair<TGadget*, Events> ShowWindow(int x, int y, int w, int h,
                                                const std::function<void(TGadget*)>& fill = {}) {
    TGadget* window = NewWindow("Test", x, y, w, h, nullptr, 1);
    if (fill) fill(window);
    Events events = Pump(5, [&](const Events& e) { return Has(e, kWindowActivate, window); });
    // The window manager may still be placing the frame: anything it says comes within this.
    for (const TEvent& e : Pump(0.7)) events.push_back(e);
    return {window, events};
  }

  // The middle of a slider's thumb on the screen.
  static std::pair<int, int> ThumbOnScreen(TGadget* slider) {
    auto* widget = reinterpret_cast<GtkWidget*>(slider->Query(1));
    int start = 0, end = 0;
    gtk_range_get_slider_range(GTK_RANGE(widget), &start, &end);
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    int tx = 0, ty = 0, ox = 0, oy = 0;
    gtk_widget_translate_coordinates(widget, top, gtk_widget_get_allocated_width(widget) / 2, (start + end) / 2, &tx,
                                     &ty);
    gdk_window_get_origin(gtk_widget_get_window(top), &ox, &oy);
    return {ox + tx, oy + ty};
  }

  // The middle of a control on the screen, moved by (dx, dy).
  static std::pair<int, int> OnScreen(TGadget* control, int dx = 0, int dy = 0) {
    auto* widget = reinterpret_cast<GtkWidget*>(control->Query(1));
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    int tx = 0, ty = 0, ox = 0, oy = 0;
    gtk_widget_translate_coordinates(widget, top, gtk_widget_get_allocated_width(widget) / 2,
                                     gtk_widget_get_allocated_height(widget) / 2, &tx, &ty);
    gdk_window_get_origin(gtk_widget_get_window(top), &ox, &oy);
    return {ox + tx + dx, oy + ty + dy};
  }

  void MoveTo(std::pair<int, int> at) {
    XTestFakeMotionEvent(user_, -1, at.first, at.second, 0);
    XSync(user_, False);
    Pump(0.1);
  }
  void Button(unsigned button) {
    XTestFakeButtonEvent(user_, button, True, 0);
    XSync(user_, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    XTestFakeButtonEvent(user_, button, False, 0);
    XSync(user_, False);
  }

  static inline test::PrivateDesktop* desktop_ = nullptr;
  static inline gtk::TGtkGUIDriver* driver_ = nullptr;
  Display* user_ = nullptr;
};

TEST_F(GtkDriverTest, ANewWindowRaisesOnlyItsActivation) {
  struct Case {
    const char* name;
    int x, y, w, h;
  };
  // The first window waits for the frame's size before it is mapped; a later one knows it already.
  const Case cases[] = {{"first window", 100, 100, 809, 526}, {"second window", 250, 250, 364, 285}};
  std::vector<TGadget*> windows;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto [window, events] = ShowWindow(c.x, c.y, c.w, c.h, [](TGadget* w) { NewButton("OK", 142, 210, 75, 23, w, 4); });
    windows.push_back(window);
    ASSERT_EQ(events.size(), 1u) << Describe(events);
    EXPECT_EQ(events[0].id, kWindowActivate);
    EXPECT_EQ(events[0].source, window);
  }

  // Dragged by its title bar, a placed window tells where its frame went.
  GtkWidget* top = reinterpret_cast<GtkWidget*>(windows[0]->Query(1));
  int ox = 0, oy = 0;
  gdk_window_get_origin(gtk_widget_get_window(top), &ox, &oy);
  MoveTo({ox + 300, oy - 8});
  XTestFakeButtonEvent(user_, 1, True, 0);
  for (int step = 1; step <= 4; ++step) MoveTo({ox + 300 + 10 * step, oy - 8 + 7 * step});
  XTestFakeButtonEvent(user_, 1, False, 0);
  XSync(user_, False);
  Events moved;
  for (const TEvent& e : Pump(1.5))
    if (e.id == kWindowMove || e.id == kWindowSize) moved.push_back(e);
  ASSERT_EQ(moved.size(), 1u) << Describe(moved);
  EXPECT_EQ(moved[0].id, kWindowMove);
  EXPECT_EQ(moved[0].source, windows[0]);
  EXPECT_EQ(moved[0].x, 140);
  EXPECT_EQ(moved[0].y, 128);

  for (TGadget* w : windows) w->CleanUp();
  Pump(0.3);
}

// After an out-of-range SetProp the thumb stands at an end while the last value lies beyond it: the next
// notification must report the thumb's value even though GTK's own value does not change.
TEST_F(GtkDriverTest, ASliderReportsAThumbLeftWhereItStandsAndAWheelStepAtItsEnd) {
  TGadget* slider = nullptr;
  auto [window, shown] = ShowWindow(100, 100, 300, 300, [&](TGadget* w) {
    slider = NewSlider(40, 20, 23, 200, w, 6);
    slider->SetRange(1, 200);
    slider->SetProp(105);
  });
  ASSERT_TRUE(Has(shown, kWindowActivate, window));

  struct Case {
    const char* name;
    std::optional<int> set;  // by the program first
    unsigned button;         // 1: press and release on the thumb; 4: wheel up over it
    int reported;            // 0: nothing
  };
  const Case cases[] = {
      {"thumb let go at the top", 301, 1, 200},
      {"thumb let go there again", std::nullopt, 1, 0},  // its value is the last one reported
      {"thumb let go at the bottom", -7, 1, 1},
      {"wheel up at the top", 301, 4, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.set) slider->SetProp(*c.set);
    Pump(0.1);
    MoveTo(ThumbOnScreen(slider));
    Button(c.button);
    const Events events = Pump(2, [&](const Events& e) { return Has(e, kGadgetAction, slider); });
    Events actions;
    for (const TEvent& e : events)
      if (e.id == kGadgetAction) actions.push_back(e);
    if (c.reported) {
      EXPECT_EQ(actions.size(), 1u) << Describe(events);
      if (actions.empty()) continue;
      EXPECT_EQ(actions[0].source, slider);
      EXPECT_EQ(actions[0].data, c.reported);
    } else {
      EXPECT_TRUE(actions.empty()) << Describe(events);
    }
  }
  window->CleanUp();
  Pump(0.3);
}

// A field lets the second press of a double click through to the window's client area, with coordinates in
// the field's own window: that press must not hand the focus to the panel those coordinates would name.
TEST_F(GtkDriverTest, ADoubleClickInAFieldKeepsTheFocusThereAndAClickBesideItGivesItToThePanel) {
  TGadget* panel = nullptr;
  TGadget* field = nullptr;
  auto [window, shown] = ShowWindow(100, 100, 300, 300, [&](TGadget* w) {
    NewPanel(0, 0, 60, 60, w, 0, "");  // where the field's own coordinates would point
    panel = NewPanel(80, 80, 200, 200, w, 3, "");
    field = NewTextField(20, 40, 80, 20, panel, 0);
    field->SetText("50");
  });
  ASSERT_TRUE(Has(shown, kWindowActivate, window));

  MoveTo(OnScreen(field));
  Button(1);
  Button(1);
  Pump(1.0);
  EXPECT_EQ(window->focus(), field);

  MoveTo(OnScreen(field, 0, 50));
  Button(1);
  Pump(1.0);
  EXPECT_EQ(window->focus(), panel);
  window->CleanUp();
  Pump(0.3);
}

// Panels keep one face between them when their pictures come out the same: each still shows its own
// picture, the same one twice and a different one beside them, and a panel given another picture changes
// alone.
TEST_F(GtkDriverTest, PanelsWithTheSamePictureAndOneWithAnotherEachShowTheirOwn) {
  const auto flat = [](std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    auto p = std::make_shared<TPixmap>();
    p->width = p->height = 20;
    p->channels = 3;
    for (int i = 0; i < 20 * 20; ++i) p->pixels.insert(p->pixels.end(), {r, g, b});
    return std::shared_ptr<const TPixmap>(p);
  };
  const auto red = flat(200, 0, 0), green = flat(0, 200, 0), blue = flat(0, 0, 200);
  TGadget* panels[3] = {};
  auto [window, shown] = ShowWindow(100, 100, 200, 100, [&](TGadget* w) {
    for (int i = 0; i < 3; ++i) panels[i] = NewPanel(20 + 40 * i, 20, 20, 20, w, 0, "");
    panels[0]->SetPixmap(red, 0);
    panels[1]->SetPixmap(green, 0);
    panels[2]->SetPixmap(red, 0);
  });
  ASSERT_TRUE(Has(shown, kWindowActivate, window));
  const auto colour_of = [&](TGadget* panel) {
    const auto [x, y] = OnScreen(panel);
    XImage* image = XGetImage(user_, DefaultRootWindow(user_), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0ul;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xffffff;
    XDestroyImage(image);
    return pixel;
  };
  Pump(0.5);
  EXPECT_EQ(colour_of(panels[0]), 0xc80000ul);
  EXPECT_EQ(colour_of(panels[1]), 0x00c800ul);
  EXPECT_EQ(colour_of(panels[2]), 0xc80000ul);

  panels[2]->SetPixmap(blue, 0);
  Pump(0.5);
  EXPECT_EQ(colour_of(panels[0]), 0xc80000ul);
  EXPECT_EQ(colour_of(panels[2]), 0x0000c8ul);
  window->CleanUp();
  Pump(0.3);
}

}  // namespace
}  // namespace raziz::test
