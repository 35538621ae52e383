// Text fields and the text area: one action per change with the text already current, the program's SetText
// keeping the caret, and the selection dropped when the focus leaves.

#include "tests/widgets/widget_test.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

class TextTest : public WidgetTest {
 protected:
  TGadget* win = MakeWindow();
  TGadget* panel = NewPanel(0, 0, 88, 480, win, 3, "");
  TGadget* field = NewTextField(13, 115, 50, 18, panel, 0);
  TGadget* other = NewButton("500", 9, 74, 58, 34, panel, 4);
};

TEST_F(TextTest, EachTypedCharacterRaisesOneActionAndGetTextAlreadyHasIt) {
  field->SetText("500");
  Drain();
  user.type(field, "1\b2");
  std::vector<std::string> seen;
  try {
    for (;;) {
      if (TakeEvent() == kGadgetAction && CurrentEvent().source == field) {
        EXPECT_EQ(CurrentEvent().data, 0);
        seen.push_back(field->GetText());
      }
    }
  } catch (const headless::NoMoreInput&) {}
  EXPECT_EQ(seen, (std::vector<std::string>{"5001", "500", "5002"}));
  EXPECT_EQ(driver.PeerOf(field).text, "5002");
}

TEST_F(TextTest, FastTypingWhileTheProgramIsBusyArrivesAsOneActionWithTheWholeText) {
  Drain();
  user.type(field, "1250");
  driver.DeliverAll();
  const std::vector<TEvent> got = Only(kGadgetAction, Drain());
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(field->GetText(), "1250");
}

TEST_F(TextTest, SetTextKeepsCaretAndSelectionCutBackToTheNewLength) {
  struct Case {
    const char* before;
    int start, end;
    const char* after;
    int new_start, new_end;
  };
  const Case cases[] = {
      {"12345", 1, 4, "1000", 1, 4},
      {"12345", 2, 5, "12", 2, 2},
      {"12345", 5, 0, "", 0, 0},
      {"abc", 3, 3, "\xC3\xA9\xC3\xA9", 2, 2},  // never inside a character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before + std::string(" -> ") + c.after);
    field->SetText(c.before);
    user.select(field, c.start, c.end);
    RunScript();
    field->SetText(c.after);
    EXPECT_EQ(field->selection_start(), c.new_start);
    EXPECT_EQ(field->selection_end(), c.new_end);
    EXPECT_EQ(driver.PeerOf(field).selection_start, c.new_start);
    EXPECT_EQ(driver.PeerOf(field).text, c.after);
    EXPECT_TRUE(Drain().empty());
  }
}

TEST_F(TextTest, LosingTheFocusClearsTheSelectionAndRaisesLostFocus) {
  field->SetText("1000");
  user.select(field, 1, 3);
  RunScript();
  user.click(other);
  const std::vector<TEvent> got = RunScript();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].id, kGadgetLostFocus);
  EXPECT_EQ(got[0].source, field);
  EXPECT_EQ(got[1].id, kGadgetAction);
  EXPECT_EQ(got[1].source, other);
  EXPECT_EQ(field->selection_start(), 0);
  EXPECT_EQ(field->selection_end(), 0);
  EXPECT_EQ(driver.PeerOf(field).selection_end, 0);
  EXPECT_EQ(field->GetText(), "1000");
}

TEST_F(TextTest, TheTextAreaReportsEditsSelectionsAndRightClicks) {
  TGadget* area = NewTextArea(25, 55, 300, 130, win, 0);
  area->SetText("first\rsecond");
  Drain();
  user.select(area, 0, 5);
  user.type(area, "X");
  user.right_click(area, 30, 40);
  const std::vector<TEvent> got = RunScript();
  std::vector<int> ids;
  for (const TEvent& e : got) {
    EXPECT_EQ(e.source, area);
    ids.push_back(e.id);
  }
  // Clicking in moves the caret to the end (a selection change), then the selection, the edit, the menu.
  EXPECT_EQ(ids, (std::vector<int>{kGadgetSelect, kGadgetSelect, kGadgetAction, kGadgetMenu}));
  EXPECT_EQ(area->GetText(), "X\rsecond");
  EXPECT_EQ(got.back().x, 30);
  EXPECT_EQ(got.back().y, 40);
}

}  // namespace
}  // namespace raziz::test
