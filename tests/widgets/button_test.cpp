// Buttons: the check box's mark flips before its action, push buttons report 0, and the program's own
// changes to the mark.

#include "tests/widgets/widget_test.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

class ButtonTest : public WidgetTest {
 protected:
  TGadget* win = MakeWindow();
};

TEST_F(ButtonTest, AClickFlipsACheckBoxThenReportsItsNewState) {
  struct Case {
    int before;       // SetSelected argument
    int data;         // the action's data
    int state_after;  // ButtonState afterwards
  };
  const Case cases[] = {{0, 1, 1}, {1, 0, 0}, {-1, 1, 1}, {7, 0, 0}};
  for (int style : {2, 2 | button_style::kPushLook}) {
    TGadget* box = NewButton("SQUARE", 4, 410, 74, 23, win, style);
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << "style " << style << " before " << c.before);
      box->SetSelected(c.before);
      Drain();
      user.click(box);
      const std::vector<TEvent> got = Only(kGadgetAction, RunScript());
      ASSERT_EQ(got.size(), 1u);
      EXPECT_EQ(got[0].source, box);
      EXPECT_EQ(got[0].data, c.data);
      EXPECT_EQ(ButtonState(box), c.state_after);
      EXPECT_EQ(driver.PeerOf(box).check, c.state_after);
    }
  }
}

TEST_F(ButtonTest, SetSelectedAndStateAgree) {
  TGadget* box = NewButton("SQUARE", 0, 0, 74, 23, win, 2);
  struct Case {
    int set, state_bits, button_state;
  };
  for (const Case& c : {Case{0, 0, 0}, Case{1, 16, 1}, Case{-1, 16 | 64, -1}, Case{5, 16, 1}, Case{-2, 16, 1}}) {
    SCOPED_TRACE(c.set);
    box->SetSelected(c.set);
    EXPECT_EQ(box->State(), c.state_bits);
    EXPECT_EQ(ButtonState(box), c.button_state);
  }
  EXPECT_EQ(ButtonState(nullptr), 0);
}

TEST_F(ButtonTest, PushButtonsReportZeroForEveryClickAndCaptionsChangeAtOnce) {
  TGadget* tone = NewButton("1000", 9, 74, 58, 34, win, 4);
  TGadget* plain = NewButton("FACEBOOK", 100, 138, 170, 23, win, 8);
  Drain();
  user.click(tone);
  user.click(plain);
  user.click(tone);
  const std::vector<TEvent> got = Only(kGadgetAction, RunScript());
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].source, tone);
  EXPECT_EQ(got[1].source, plain);
  EXPECT_EQ(got[2].source, tone);
  for (const TEvent& e : got) EXPECT_EQ(e.data, 0);
  tone->SetText("ON");
  EXPECT_EQ(driver.PeerOf(tone).text, "ON");
  EXPECT_EQ(tone->GetText(), "ON");
}

}  // namespace
}  // namespace raziz::test
