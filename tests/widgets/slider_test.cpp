// Vertical sliders: value = min + max - position, the program's SetProp out of range, the last-value rule for
// notifications, and the keys.

#include "tests/widgets/widget_test.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

class SliderTest : public WidgetTest {
 protected:
  TGadget* win = MakeWindow();
  TGadget* well = NewPanel(12, 140, 50, 230, win, 3, "");
  TGadget* slider = NewSlider(9, 1, 23, 200, well, 6);

  void SetUp() override {
    slider->SetRange(1, 200);
    Drain();
  }
};

TEST_F(SliderTest, TheRangeIsFiveToTenUntilSetRange) {
  TGadget* fresh = NewSlider(0, 0, 23, 200, win, 6);
  EXPECT_EQ(fresh->slider_min(), 5);
  EXPECT_EQ(fresh->slider_max(), 10);
  EXPECT_EQ(driver.PeerOf(fresh).slider_max, 10);
}

TEST_F(SliderTest, ValuesMapToThumbPositionsCountedFromTheTop) {
  struct Case {
    int set, position, value;
  };
  const Case cases[] = {{200, 1, 200}, {1, 200, 1}, {105, 96, 105}, {301, 1, 200}, {-5, 200, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set);
    slider->SetProp(c.set);
    EXPECT_EQ(slider->slider_position(), c.position);
    EXPECT_EQ(driver.PeerOf(slider).slider_position, c.position);
    EXPECT_EQ(slider->GetProp(), c.value);
    EXPECT_EQ(slider->slider_last(), c.set);  // kept as given, even out of range
  }
  EXPECT_TRUE(Drain().empty());
}

TEST_F(SliderTest, TicksStayOnlyWhenTheyLieFourPixelsApart) {
  EXPECT_FALSE(driver.PeerOf(slider).ticks);  // 1..200 on 200 pixels
  slider->SetRange(1, 50);
  EXPECT_TRUE(driver.PeerOf(slider).ticks);
  slider->SetRange(1, 52);
  EXPECT_FALSE(driver.PeerOf(slider).ticks);
}

TEST_F(SliderTest, AfterAnOutOfRangeSetPropTheNextNotificationReportsTheValueAtTheThumb) {
  slider->SetProp(301);
  EXPECT_TRUE(Drain().empty());
  user.touch_thumb(slider);
  user.touch_thumb(slider);
  const std::vector<TEvent> got = Only(kGadgetAction, RunScript());
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].source, slider);
  EXPECT_EQ(got[0].data, 200);
}

TEST_F(SliderTest, ANotificationRaisesOnlyWhenTheValueDiffersFromTheLast) {
  slider->SetProp(100);  // position 101
  struct Step {
    std::vector<int> positions;
  };
  const std::vector<Step> drags = {{{101}}, {{100}}, {{100}}, {{99, 98}}, {{98, 200, 98}}};
  for (const Step& s : drags) user.drag_slider(slider, s.positions);
  std::vector<int> data;
  for (const TEvent& e : Only(kGadgetAction, RunScript())) data.push_back(e.data);
  // One drag is one burst of notifications handled together, so its actions merge into the last value: the
  // last drag went to 1 and back, and still reports once, with 103.
  EXPECT_EQ(data, (std::vector<int>{101, 103, 103}));
  EXPECT_EQ(slider->slider_last(), 103);
}

TEST_F(SliderTest, KeysMoveByOneByAFifthOfTheRangeAndToTheEnds) {
  struct Case {
    Key key;
    int value;
  };
  const Case cases[] = {{Key::kUp, 101},     {Key::kDown, 99},     {Key::kLeft, 101}, {Key::kRight, 99},
                        {Key::kPageUp, 139}, {Key::kPageDown, 61}, {Key::kHome, 200}, {Key::kEnd, 1}};
  user.click(slider);
  RunScript();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    slider->SetProp(100);
    user.key(win, c.key);
    const std::vector<TEvent> got = Only(kGadgetAction, RunScript());
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].data, c.value);
    EXPECT_EQ(slider->GetProp(), c.value);
    EXPECT_EQ(driver.PeerOf(slider).slider_position, 201 - c.value);
  }
  slider->SetProp(200);
  user.key(win, Key::kUp);  // already at the top: nothing changes, nothing is raised
  EXPECT_TRUE(Only(kGadgetAction, RunScript()).empty());
}

}  // namespace
}  // namespace raziz::test
