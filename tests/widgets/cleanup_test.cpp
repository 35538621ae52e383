// CleanUp: the whole subtree goes, nothing names it afterwards, and its memory outlives the events that
// still name it.

#include "tests/widgets/widget_test.h"
#include "ui/widgets/core/gadget_registry.h"
#include "ui/widgets/core/input.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

class CleanUpTest : public WidgetTest {};

struct Dialog {
  TGadget* window;
  TGadget* panel;
  TGadget* ok;
  TGadget* field;
  TGadget* slider;
  TGadget* box;
  TGadget* exit;
};

Dialog MakeDialog() {
  Dialog d{};
  d.window = NewWindow("Help", 250, 250, 364, 285, nullptr, 1);
  d.panel = NewPanel(0, 0, 200, 200, d.window, 3, "");
  d.ok = NewButton("OK", 142, 210, 75, 23, d.window, 4);
  d.field = NewTextField(5, 5, 50, 18, d.panel, 0);
  d.slider = NewSlider(60, 0, 23, 100, d.panel, 6);
  d.box = NewButton("SQUARE", 5, 30, 74, 23, d.panel, 2);
  d.exit = NewMenuItem("Exit", 300, NewMenuItem("File", 0, d.window, 0, 0), 0, 0);
  d.window->UpdateMenu();
  return d;
}

TEST_F(CleanUpTest, TheWholeSubtreeGoesAndLeavesItsContainersKids) {
  TGadget* first = MakeWindow();
  const std::size_t before = headless::THeadlessDriver::LiveCount();
  Dialog d = MakeDialog();
  d.panel->CleanUp();
  for (TGadget* g : {d.panel, d.field, d.slider, d.box}) {
    EXPECT_FALSE(g->alive());
    EXPECT_TRUE(driver.PeerOf(g).destroyed);
  }
  EXPECT_EQ(d.window->kids, (std::vector<TGadget*>{d.ok}));
  d.window->CleanUp();
  EXPECT_FALSE(d.window->alive());
  EXPECT_EQ(headless::THeadlessDriver::LiveCount(), before);
  EXPECT_EQ(first->kids.size(), 0u);
  Drain();
  EXPECT_EQ(HeldDeadGadgets(), 0u);  // nothing names them any more: freed
}

TEST_F(CleanUpTest, NothingNamesACleanedUpGadgetButEventsAlreadyWaitingStay) {
  MakeWindow();
  Dialog d = MakeDialog();
  Drain();
  user.click(d.ok);
  driver.DeliverAll();
  Poll();
  ASSERT_EQ(PendingEvents(), 1);
  d.window->CleanUp();
  // What a late native message would report about the gone controls changes nothing.
  input::Clicked(d.ok);
  input::Clicked(d.box);
  input::TextEdited(d.field, "x", 1, 1);
  input::SliderMoved(d.slider, 42);
  input::FocusGained(d.field);
  input::CloseAsked(d.window);
  input::WindowActivated(d.window);
  input::KeyPressed(d.window, Key::kEnter, false);
  input::MenuChosen(d.exit);

  EXPECT_GE(HeldDeadGadgets(), 1u);  // the waiting click still names the OK button
  TakeEvent();
  EXPECT_EQ(CurrentEvent().id, kGadgetAction);
  EXPECT_EQ(CurrentEvent().source, d.ok);
  EXPECT_EQ(HeldDeadGadgets(), 1u);  // the current event names it: kept, the rest freed
  for (const TEvent& e : Drain()) {
    for (TGadget* gone : {d.window, d.panel, d.ok, d.field, d.slider, d.box, d.exit}) EXPECT_NE(e.source, gone) << e.id;
  }
  EXPECT_EQ(HeldDeadGadgets(), 0u);
}

TEST_F(CleanUpTest, ScriptedStepsForAGoneWindowAreDroppedByThePlatform) {
  MakeWindow();
  Dialog d = MakeDialog();
  Drain();
  user.click(d.ok);
  user.close(d.window);
  d.window->CleanUp();
  EXPECT_EQ(driver.ScriptedSteps(), 0u);
  user.click(headless::Find(kButton, "OK"));
  EXPECT_THROW(RunScript(), headless::TargetMissing);
}

TEST_F(CleanUpTest, DestroyingTheActiveWindowActivatesTheMostRecentOtherAtOnce) {
  TGadget* first = MakeWindow("First");
  TGadget* second = MakeWindow("Second");
  Dialog d = MakeDialog();
  user.activate(second);
  RunScript();
  user.activate(d.window);
  RunScript();
  d.window->CleanUp();
  // Handed over while the dialog still stood (looked at before a take frees it), so the platform never had
  // to choose a window of its own.
  EXPECT_EQ(driver.PeerOf(d.window).active_when_destroyed, second);
  // Raised inside CleanUp, before any pumping.
  ASSERT_EQ(PendingEvents(), 1);
  TakeEvent();
  EXPECT_EQ(CurrentEvent().id, kWindowActivate);
  EXPECT_EQ(CurrentEvent().source, second);
  EXPECT_EQ(driver.ActiveWindow(), second);

  first->CleanUp();  // not the active one: nothing follows
  EXPECT_EQ(PendingEvents(), 0);
}

TEST_F(CleanUpTest, CleaningUpThePanelHoldingTheFocusLeavesItOnTheWindowSilently) {
  TGadget* win = MakeWindow();
  TGadget* panel = NewPanel(0, 0, 100, 100, win, 0, "");
  TGadget* field = NewTextField(0, 0, 50, 18, panel, 0);
  user.type(field, "a");
  RunScript();
  ASSERT_EQ(win->focus(), field);
  panel->CleanUp();
  EXPECT_EQ(win->focus(), nullptr);
  EXPECT_TRUE(Drain().empty());
}

}  // namespace
}  // namespace raziz::test
