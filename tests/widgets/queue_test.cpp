// The event queue: merging, dropping, order, the current event, and the pump that fills it.

#include "tests/widgets/widget_test.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

class QueueTest : public WidgetTest {};

TEvent Event(int id, TGadget* source, int data, int x = 0, int y = 0, int mods = 0) {
  TEvent e;
  e.id = id;
  e.source = source;
  e.data = data;
  e.x = x;
  e.y = y;
  e.mods = mods;
  return e;
}

TEST_F(QueueTest, CurrentEventIsTheNullEventBeforeTheFirstTake) {
  const TEvent& e = CurrentEvent();
  EXPECT_EQ(e.id, kNullEvent);
  EXPECT_EQ(e.source, nullptr);
  EXPECT_EQ(e.data, 0);
}

TEST_F(QueueTest, SameIdAndSourceMergeOnlyForActionsMovesSizesAndTicks) {
  struct Case {
    int id;
    bool merges;
  };
  const Case cases[] = {{kGadgetAction, true},    {kWindowMove, true},       {kWindowSize, true},
                        {kTimerTick, true},       {kWindowClose, false},     {kMenuAction, false},
                        {kWindowActivate, false}, {kGadgetLostFocus, false}, {kGadgetSelect, false}};
  TGadget* win = MakeWindow();
  TGadget* a = NewButton("A", 0, 0, 10, 10, win, 8);
  TGadget* b = NewButton("B", 0, 20, 10, 10, win, 8);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    Drain();
    Emit(Event(c.id, a, 1, 1, 1));
    Emit(Event(c.id, b, 7));  // another source: never merged
    Emit(Event(c.id, a, 2, 5, 6, 3));
    const std::vector<TEvent> got = Drain();
    if (c.merges) {
      ASSERT_EQ(got.size(), 2u);
      EXPECT_EQ(got[0].source, a);  // the waiting event keeps its place and takes the new data
      EXPECT_EQ(got[0].data, 2);
      EXPECT_EQ(got[0].x, 5);
      EXPECT_EQ(got[0].y, 6);
      EXPECT_EQ(got[0].mods, 3);
      EXPECT_EQ(got[1].source, b);
    } else {
      ASSERT_EQ(got.size(), 3u);
      EXPECT_EQ(got[0].data, 1);
      EXPECT_EQ(got[2].data, 2);
    }
  }
}

TEST_F(QueueTest, With256WaitingANewEventIsDroppedUnlessItMerges) {
  TGadget* win = MakeWindow();
  TGadget* button = NewButton("A", 0, 0, 10, 10, win, 8);
  Drain();
  Emit(Event(kGadgetAction, button, 0));
  for (int i = 1; i < 256; ++i) Emit(Event(kWindowClose, win, i));
  ASSERT_EQ(PendingEvents(), 256);
  Emit(Event(kWindowClose, win, 999));     // merges with none: lost
  Emit(Event(kGadgetAction, button, 42));  // merges with the first: kept
  ASSERT_EQ(PendingEvents(), 256);
  const std::vector<TEvent> got = Drain();
  ASSERT_EQ(got.size(), 256u);
  EXPECT_EQ(got.front().data, 42);
  EXPECT_EQ(got.back().data, 255);
}

TEST_F(QueueTest, EventsComeOutInOrderAcrossTheRingsWrap) {
  TGadget* win = MakeWindow();
  Drain();
  int next_in = 0, next_out = 0;
  for (int round = 0; round < 5; ++round) {
    for (int i = 0; i < 200; ++i) Emit(Event(kWindowClose, win, next_in++));
    while (PendingEvents() > 50) {
      TakeEvent();
      ASSERT_EQ(CurrentEvent().data, next_out++);
    }
  }
  for (const TEvent& e : Drain()) EXPECT_EQ(e.data, next_out++);
  EXPECT_EQ(next_out, next_in);
}

TEST_F(QueueTest, TakeEventWaitsForTheNextUserActionAndTheScriptsEndIsReported) {
  TGadget* win = MakeWindow();
  TGadget* button = NewButton("Go", 10, 10, 80, 24, win, 8);
  Drain();
  user.click(button);
  EXPECT_EQ(PendingEvents(), 0);  // nothing happens until the layer pumps
  EXPECT_EQ(TakeEvent(), kGadgetAction);
  EXPECT_EQ(CurrentEvent().source, button);
  EXPECT_THROW(TakeEvent(), headless::NoMoreInput);
}

TEST_F(QueueTest, ActionsMadeWhileTheProgramIsBusyArriveAsOneEventWithTheLatestData) {
  TGadget* win = MakeWindow();
  TGadget* slider = NewSlider(10, 10, 23, 200, win, 6);
  slider->SetRange(1, 200);
  slider->SetProp(50);
  Drain();
  user.drag_slider(slider, {150});  // value 51
  user.drag_slider(slider, {100});  // value 101
  driver.DeliverAll();
  const std::vector<TEvent> actions = Only(kGadgetAction, Drain());
  ASSERT_EQ(actions.size(), 1u);
  EXPECT_EQ(actions[0].data, 101);
}

TEST_F(QueueTest, PollAndWaitReturnAtOnceWhileAMessageIsBeingHandled) {
  int arrived_inside = -1;
  driver.Script({[&] {
                  Poll();
                  Wait();  // with an empty script a Wait that ran would throw
                  arrived_inside = static_cast<int>(driver.ArrivedMessages());
                }},
                nullptr);
  driver.Script({[] {}}, nullptr);
  driver.DeliverAll();
  Poll();
  EXPECT_EQ(arrived_inside, 1);  // the second step was still waiting: the nested Poll did nothing
  EXPECT_EQ(driver.ArrivedMessages(), 0u);
}

TEST_F(QueueTest, PumpAndRepaintHandlesWhatHasArrivedThenRepaintsTheWindowAtOnce) {
  TGadget* win = MakeWindow();
  TGadget* button = NewButton("Go", 10, 10, 80, 24, win, 8);
  Drain();
  user.click(button);
  user.click(button);
  driver.DeliverNext();
  const int before = driver.PeerOf(win).immediate_repaints;
  pump_and_repaint(win);
  EXPECT_EQ(driver.PeerOf(win).immediate_repaints, before + 1);
  EXPECT_EQ(PendingEvents(), 1);
  EXPECT_EQ(driver.ScriptedSteps(), 1u);  // the second click has not happened yet
}

}  // namespace
}  // namespace raziz::test
