// Keyboard focus and navigation: Tab stays inside the focused control's own container, Enter reaches the
// container's default button, Escape its cancel button, and the window itself takes no keys.

#include "tests/widgets/widget_test.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

class KeyboardTest : public WidgetTest {
 protected:
  // Two strips side by side, each a group panel holding its controls and a well with a lone slider.
  struct Strip {
    TGadget *panel, *lamp, *tone, *frequency, *well, *slider, *level, *square, *triangle;
  };
  Strip MakeStrip(int x) {
    Strip s{};
    s.panel = NewPanel(x, -6, 88, 480, win, 3, "");
    s.lamp = NewPanel(14, 0, 50, 50, s.panel, 0, " ");
    NewLabel("HERTZ", 20, 55, 36, 14, s.panel, 0);
    s.tone = NewButton("500", 9, 74, 58, 34, s.panel, 4);
    s.frequency = NewTextField(13, 115, 50, 18, s.panel, 0);
    s.frequency->SetText("500");
    s.well = NewPanel(12, 140, 50, 230, s.panel, 3, "");
    s.slider = NewSlider(9, 1, 23, 200, s.well, 6);
    s.level = NewTextField(13, 384, 50, 18, s.panel, 0);
    s.square = NewButton("SQUARE", 4, 410, 74, 23, s.panel, 2);
    s.triangle = NewButton("TRIANGLE", 4, 435, 74, 23, s.panel, 2);
    return s;
  }

  TGadget* win = MakeWindow();
  Strip a = MakeStrip(0);
  Strip b = MakeStrip(88);

  // A click takes the focus; a check box clicked twice keeps its mark.
  void FocusOn(TGadget* g) {
    user.click(g);
    if (g->kind() == kButton && (g->style & 7) == button_style::kCheckBox) user.click(g);
    RunScript();
    ASSERT_EQ(win->focus(), g);
  }
};

TEST_F(KeyboardTest, TabMovesInCreationOrderWithinTheContainerEnteringPanelsAndWrapping) {
  struct Case {
    TGadget* from;
    bool shift;
    TGadget* to;
  };
  const Case cases[] = {
      {a.tone, false, a.frequency}, {a.frequency, false, a.slider}, {a.slider, false, a.slider},
      {a.slider, true, a.slider},   {a.level, false, a.square},     {a.triangle, false, a.tone},
      {a.tone, true, a.triangle},   {a.level, true, a.slider},      {b.triangle, false, b.tone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from->text() + (c.shift ? " shift+tab" : " tab"));
    FocusOn(c.from);
    user.key(win, Key::kTab, c.shift);
    RunScript();
    EXPECT_EQ(win->focus(), c.to);
    EXPECT_EQ(driver.NativeFocus(), c.to);
  }
}

TEST_F(KeyboardTest, AFieldReachedByTabHasAllItsTextSelected) {
  FocusOn(a.tone);
  user.key(win, Key::kTab);
  RunScript();
  ASSERT_EQ(win->focus(), a.frequency);
  EXPECT_EQ(a.frequency->selection_start(), 0);
  EXPECT_EQ(a.frequency->selection_end(), 3);
  EXPECT_EQ(driver.PeerOf(a.frequency).selection_end, 3);
}

TEST_F(KeyboardTest, EnterPressesTheContainersDefaultButton) {
  struct Case {
    TGadget* focus;
    TGadget* focus_after;
  };
  // From a field the focus moves to its container first; from a button or box it stays.
  const Case cases[] = {
      {a.frequency, a.panel}, {a.level, a.panel}, {a.square, a.square}, {a.tone, a.tone}, {b.frequency, b.panel}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.focus->text());
    FocusOn(c.focus);
    const TGadget* tone = c.focus->parent == a.panel ? a.tone : b.tone;
    user.key(win, Key::kEnter);
    const std::vector<TEvent> got = RunScript();
    const std::vector<TEvent> actions = Only(kGadgetAction, got);
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].source, tone);
    EXPECT_EQ(ButtonState(a.square), 0);  // Enter on a box presses the default button, not the box
    EXPECT_EQ(win->focus(), c.focus_after);
    if (c.focus->kind() == kTextField) {
      EXPECT_EQ(got.front().id, kGadgetLostFocus);
      EXPECT_EQ(got.front().source, c.focus);
    }
  }
}

TEST_F(KeyboardTest, EnterOnALoneSliderAndEscapeWithoutACancelButtonDoNothing) {
  FocusOn(a.slider);
  user.key(win, Key::kEnter);  // the well holds no default button
  user.key(win, Key::kEscape);
  EXPECT_TRUE(RunScript().empty());
  EXPECT_EQ(win->focus(), a.slider);
}

TEST_F(KeyboardTest, EscapePressesADirectlyHeldCancelButton) {
  TGadget* dialog = NewWindow("Dialog", 0, 0, 300, 200, nullptr, 1);
  TGadget* field = NewTextField(5, 5, 50, 18, dialog, 0);
  TGadget* cancel = NewButton("Cancel", 5, 40, 75, 23, dialog, 5);
  user.click(field);
  user.key(dialog, Key::kEscape);
  const std::vector<TEvent> actions = Only(kGadgetAction, RunScript());
  ASSERT_EQ(actions.size(), 1u);
  EXPECT_EQ(actions[0].source, cancel);
  EXPECT_EQ(dialog->focus(), field);
}

TEST_F(KeyboardTest, WhileTheWindowItselfHasTheFocusTabEnterAndEscapeDoNothing) {
  TGadget* dialog = NewWindow("About", 250, 250, 364, 285, nullptr, 1);
  NewButton("OK", 142, 210, 75, 23, dialog, 4);
  NewButton("Cancel", 142, 240, 75, 23, dialog, 5);
  Drain();
  ASSERT_EQ(dialog->focus(), nullptr);
  for (Key key : {Key::kTab, Key::kEnter, Key::kEscape}) user.key(dialog, key);
  EXPECT_TRUE(RunScript().empty());
  EXPECT_EQ(dialog->focus(), nullptr);
}

TEST_F(KeyboardTest, ActivateGivesTheFocusToTheFirstTabStopOrToTheWindow) {
  win->Activate(0);
  EXPECT_EQ(win->focus(), a.tone);  // the first tab stop, inside the first strip's panel
  EXPECT_EQ(driver.NativeFocus(), a.tone);
  TGadget* empty = NewWindow("Empty", 0, 0, 100, 100, nullptr, 1);
  NewLabel("only a label", 0, 0, 80, 14, empty, 0);
  empty->Activate(0);
  EXPECT_EQ(empty->focus(), nullptr);
  EXPECT_EQ(driver.NativeFocus(), empty);
}

TEST_F(KeyboardTest, AClickOnAnEmptyPartOfAPanelTakesTheFocusFromAField) {
  FocusOn(a.frequency);
  user.click_panel(a.panel);
  const std::vector<TEvent> got = RunScript();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].id, kGadgetLostFocus);
  EXPECT_EQ(got[0].source, a.frequency);
  EXPECT_EQ(win->focus(), a.panel);
}

// A panel holding tab stops is their container; one holding none (the lamp) would trap Tab and Enter, so it
// hands them to the panel that holds it.
TEST_F(KeyboardTest, AFocusedPanelIsAContainerOnlyWhenItHoldsTabStops) {
  struct Case {
    const char* name;
    TGadget* panel;
    Key key;
    bool shift;
    TGadget* focus_after;
    TGadget* pressed;  // whose action Enter raises, if any
  };
  const Case cases[] = {
      {"tab from the lamp", a.lamp, Key::kTab, false, a.tone, nullptr},
      {"shift+tab from the lamp", a.lamp, Key::kTab, true, a.triangle, nullptr},
      {"enter on the lamp", a.lamp, Key::kEnter, false, a.lamp, a.tone},
      {"tab from the other strip's lamp", b.lamp, Key::kTab, false, b.tone, nullptr},
      {"tab from the strip", a.panel, Key::kTab, false, a.tone, nullptr},
      {"shift+tab from the strip", a.panel, Key::kTab, true, a.triangle, nullptr},
      {"enter on the strip", a.panel, Key::kEnter, false, a.panel, a.tone},
      {"tab from the slider's well", a.well, Key::kTab, false, a.slider, nullptr},
      {"enter on the slider's well", a.well, Key::kEnter, false, a.well, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    user.click_panel(c.panel);
    RunScript();
    ASSERT_EQ(win->focus(), c.panel);
    user.key(win, c.key, c.shift);
    const std::vector<TEvent> actions = Only(kGadgetAction, RunScript());
    EXPECT_EQ(win->focus(), c.focus_after);
    ASSERT_EQ(actions.size(), c.pressed ? 1u : 0u);
    if (c.pressed) { EXPECT_EQ(actions[0].source, c.pressed); }
  }
}

TEST_F(KeyboardTest, AWindowActivatedAgainHasTheFocusOnItself) {
  FocusOn(a.square);
  user.switch_away();
  user.come_back(win);
  const std::vector<TEvent> got = RunScript();
  std::vector<int> ids;
  for (const TEvent& e : got) ids.push_back(e.id);
  EXPECT_EQ(ids, (std::vector<int>{kAppSuspend, kAppResume, kWindowActivate}));
  EXPECT_EQ(win->focus(), nullptr);
  EXPECT_EQ(driver.NativeFocus(), win);
}

}  // namespace
}  // namespace raziz::test
