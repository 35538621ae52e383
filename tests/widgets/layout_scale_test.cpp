// The layout scale: rectangles mapped edge by edge, the window placed again when its scale changes, what the
// platform reports turned back into units, the panel under a point, and the client area a window needs.

#include <cmath>
#include <limits>

#include "tests/widgets/widget_test.h"
#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/layout_scale.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

class LayoutScaleTest : public WidgetTest {
 protected:
  // A strip in miniature: a group panel above the client area, a field and a slider well with a slider.
  TGadget* win = NewWindow("Main", 100, 100, 809, 526, nullptr, 1);
  TGadget* strip = NewPanel(6, -6, 88, 480, win, 3, "");
  TGadget* next_strip = NewPanel(94, -6, 88, 480, win, 3, "");
  TGadget* field = NewTextField(13, 115, 50, 18, strip, 0);
  TGadget* well = NewPanel(12, 140, 50, 230, strip, 3, "");
  TGadget* slider = NewSlider(9, 1, 23, 200, well, 6);
};

TEST_F(LayoutScaleTest, ControlsLandWhereTheScaledLayoutPutsThem) {
  struct Case {
    double factor;
    Rect field_in_window;
    Rect window_frame;
  };
  const Case cases[] = {
      {1.0, {6 + 4 + 13, -6 + 16 + 115, 50, 18}, {100, 100, 809, 526}},
      {1.25, {8 + 5 + 16, -8 + 20 + 144, 63, 22}, {125, 125, 1011, 658}},  // halves round away from zero
      {1.5, {9 + 6 + 20, -9 + 24 + 173, 75, 27}, {150, 150, 1214, 789}},
      {2.0, {12 + 8 + 26, -12 + 32 + 230, 100, 36}, {200, 200, 1618, 1052}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.factor);
    SetLayoutScale(*win, c.factor);
    EXPECT_EQ(ScaleOf(*slider).factor, c.factor);
    EXPECT_EQ(RectInWindow(*field), c.field_in_window);
    // The driver was asked to place everything again: what it shows follows.
    EXPECT_EQ(driver.PeerOf(field).rect, c.field_in_window);
    EXPECT_EQ(driver.PeerOf(win).rect, c.window_frame);
    // Neighbours share their edge: no gap, no overlap, whatever the rounding.
    const Rect a = PlacedRect(*strip), b = PlacedRect(*next_strip);
    EXPECT_EQ(a.x + a.width, b.x);
    // The slider inside the well's inner area, inside the strip's.
    const Rect s = RectInWindow(*slider), w = RectInWindow(*well), inner = PlacedClientArea(*well);
    EXPECT_EQ(s.x, w.x + inner.x + ScaleOf(*win).Px(9));
    EXPECT_EQ(s.y, w.y + inner.y + ScaleOf(*win).Px(1));
  }
  // Back at 1 every rectangle is the layout's again, and the gadgets kept their units throughout.
  SetLayoutScale(*win, 1.0);
  EXPECT_EQ(driver.PeerOf(slider).rect, (Rect{6 + 4 + 12 + 4 + 9, -6 + 16 + 140 + 16 + 1, 23, 200}));
  EXPECT_EQ((Rect{field->xpos, field->ypos, field->width, field->height}), (Rect{13, 115, 50, 18}));
}

TEST_F(LayoutScaleTest, AMeasurementNoWindowCouldUseCountsAsOne) {
  for (double bad :
       {0.0, -1.5, 0.3, 9.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    SetLayoutScale(*win, 1.5);
    SetLayoutScale(*win, bad);
    EXPECT_EQ(win->layout_scale(), 1.0) << bad;
  }
  SetLayoutScale(*field, 2.0);  // only windows have a scale
  EXPECT_EQ(ScaleOf(*field).factor, 1.0);
}

TEST_F(LayoutScaleTest, WhatTheUserDoesToAWindowComesBackInUnits) {
  SetLayoutScale(*win, 1.5);
  Drain();
  user.move(win, 300, 451);
  user.resize(win, 1214, 789);
  const auto events = RunScript();
  const auto moves = Only(kWindowMove, events), sizes = Only(kWindowSize, events);
  ASSERT_EQ(moves.size(), 1u);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(moves[0].x, 200);
  EXPECT_EQ(moves[0].y, 301);
  EXPECT_EQ((Rect{win->xpos, win->ypos, win->width, win->height}), (Rect{200, 301, 809, 526}));
  EXPECT_EQ(sizes[0].x, 809);
}

TEST_F(LayoutScaleTest, TheInnermostPanelUnderAPointAtAnyScale) {
  struct Spot {
    int x, y;  // units of the client area, mapped through the scale below
    TGadget* expected;
  };
  const Spot spots[] = {
      {6 + 4 + 12 + 20, -6 + 16 + 140 + 100, well},  // inside the well
      {6 + 4 + 2, -6 + 16 + 50, strip},              // the strip, beside its lamp
      {6 + 88 + 10, 100, next_strip},
      {3, 100, nullptr},  // left of the first strip
      {5, 300, nullptr},
  };
  for (double factor : {1.0, 1.5, 2.0}) {
    SetLayoutScale(*win, factor);
    const LayoutScale s = ScaleOf(*win);
    for (const Spot& p : spots) {
      EXPECT_EQ(PanelAt(*win, s.Px(p.x), s.Px(p.y)), p.expected) << factor << " at " << p.x << "," << p.y;
    }
  }
}

// A press on a control that takes the keyboard itself (a second press on a focused field arrives here as a
// double click the field let through) must not hand the focus to the panel around it; a label's press does.
TEST_F(LayoutScaleTest, APressGivesThePanelTheFocusOnlyOffItsKeyboardControls) {
  TGadget* label = NewLabel("HERTZ", 20, 55, 36, 14, strip, 0);
  struct Spot {
    int x, y;  // units of the client area
    TGadget* expected;
  };
  const Spot spots[] = {
      {6 + 4 + 13 + 25, -6 + 16 + 115 + 9, nullptr},               // the middle of the field
      {6 + 4 + 12 + 4 + 9 + 5, -6 + 16 + 140 + 16 + 50, nullptr},  // the slider, inside the well
      {6 + 4 + 12 + 4 + 1, -6 + 16 + 140 + 16 + 50, well},         // the well, left of its slider
      {6 + 4 + 20 + 10, -6 + 16 + 55 + 7, strip},                  // on the label
      {6 + 4 + 2, -6 + 16 + 115 + 9, strip},                       // left of the field
      {3, 100, nullptr},
  };
  ASSERT_NE(label, nullptr);
  for (double factor : {1.0, 1.5, 2.0}) {
    SetLayoutScale(*win, factor);
    const LayoutScale s = ScaleOf(*win);
    for (const Spot& p : spots) {
      EXPECT_EQ(PanelPressedAt(*win, s.Px(p.x), s.Px(p.y)), p.expected) << factor << " at " << p.x << "," << p.y;
    }
  }
}

TEST_F(LayoutScaleTest, TheClientAreaHoldsTheLayoutWhateverTheDecorations) {
  struct Case {
    double factor;
    Decorations decorations;
    Size expected;
  };
  const Case cases[] = {
      {1.0, {1, 1, 20, 1, 22}, {807, 483}},   // the frame leaves more than the strips need
      {1.0, {4, 4, 40, 4, 30}, {801, 474}},   // big decorations: never less than the strips' 474 units
      {1.5, {1, 1, 20, 1, 22}, {1212, 746}},  // a scaled frame, decorations as the platform measured them
      {2.0, {8, 8, 90, 8, 60}, {1602, 948}},
  };
  for (const Case& c : cases) {
    SetLayoutScale(*win, c.factor);
    EXPECT_EQ(ClientSizeFor(*win, c.decorations), c.expected) << c.factor;
  }
  // Asked for by its client area: the decorations are the platform's to add around it.
  TGadget* by_client = NewWindow("Client", 0, 0, 300, 200, nullptr, 1 | 32);
  NewPanel(0, 0, 310, 100, by_client, 0, "");
  SetLayoutScale(*by_client, 1.5);
  EXPECT_EQ(ClientSizeFor(*by_client, Decorations{3, 3, 28, 3, 28}), (Size{465, 300}));
}

TEST_F(LayoutScaleTest, TicksAreDecidedInUnitsSoTheScaleNeverAddsThem) {
  for (double factor : {1.0, 1.5, 2.0, 3.0}) {
    SetLayoutScale(*win, factor);
    slider->SetRange(1, 200);
    EXPECT_FALSE(driver.PeerOf(slider).ticks) << factor;
    slider->SetRange(1, 50);
    EXPECT_TRUE(driver.PeerOf(slider).ticks) << factor;
  }
}

}  // namespace
}  // namespace raziz::test
