// Creation: what the factory makes, where it places it, and that neither creation nor any change the program
// makes raises an event.

#include <functional>

#include "tests/widgets/widget_test.h"
#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/pixmap.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

class CreationTest : public WidgetTest {};

TEST_F(CreationTest, AWindowRaisesOnlyItsActivationAndControlsRaiseNothing) {
  TGadget* win = MakeWindow();
  const std::vector<TEvent> first = Drain();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].id, kWindowActivate);
  EXPECT_EQ(first[0].source, win);
  EXPECT_EQ(win->parent, Desktop());

  TGadget* group = NewPanel(0, -6, 88, 480, win, 3, "");
  NewPanel(14, 0, 50, 50, group, 0, " ");
  NewLabel("HERTZ", 20, 55, 36, 14, group, 0);
  NewButton("500", 9, 74, 58, 34, group, 4);
  NewButton("SQUARE", 4, 410, 74, 23, group, 2);
  NewTextField(13, 115, 50, 18, group, 0);
  NewTextArea(25, 55, 300, 130, win, 0);
  NewSlider(9, 1, 23, 200, group, 6);
  NewMenuItem("File", 0, win, 0, 0);
  EXPECT_TRUE(Drain().empty());
}

TEST_F(CreationTest, AWindowCreatedHiddenRaisesNothingUntilActivated) {
  TGadget* first = MakeWindow();
  Drain();
  TGadget* hidden = NewWindow("Later", 0, 0, 200, 100, nullptr, 1 | window_style::kHidden);
  EXPECT_TRUE(Drain().empty());
  EXPECT_TRUE(hidden->State() & kHidden);
  EXPECT_FALSE(driver.PeerOf(hidden).visible);
  EXPECT_EQ(driver.ActiveWindow(), first);

  hidden->Activate(0);
  const std::vector<TEvent> got = Drain();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].id, kWindowActivate);
  EXPECT_EQ(got[0].source, hidden);
  EXPECT_FALSE(hidden->State() & kHidden);
  EXPECT_TRUE(driver.PeerOf(hidden).visible);
}

TEST_F(CreationTest, NoChangeTheProgramMakesRaisesAnEvent) {
  TGadget* win = MakeWindow();
  TGadget* panel = NewPanel(0, 0, 100, 100, win, 3, "");
  TGadget* field = NewTextField(5, 5, 50, 18, panel, 0);
  TGadget* area = NewTextArea(5, 30, 80, 40, win, 0);
  TGadget* box = NewButton("SQUARE", 5, 30, 74, 23, panel, 2);
  TGadget* slider = NewSlider(60, 0, 23, 80, panel, 6);
  TGadget* file = NewMenuItem("File", 0, win, 0, 0);
  NewMenuItem("Exit", 300, file, 0, 0);
  // The user has used every control once, so each has a state of its own to change.
  user.type(field, "7");
  user.click(box);
  user.drag_slider(slider, {6});
  RunScript();

  auto pixmap = std::make_shared<TPixmap>();
  pixmap->width = pixmap->height = 1;
  pixmap->channels = 3;
  pixmap->pixels = {1, 2, 3};
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"field text", [&] { field->SetText("1000"); }},
      {"area text", [&] { area->SetText("line\rline"); }},
      {"window title", [&] { win->SetText("Title"); }},
      {"check mark", [&] { box->SetSelected(0); }},
      {"indeterminate", [&] { box->SetSelected(-1); }},
      {"slider range", [&] { slider->SetRange(1, 200); }},
      {"slider value", [&] { slider->SetProp(20); }},
      {"slider value out of range", [&] { slider->SetProp(500); }},
      {"colour", [&] { panel->SetColor(192, 192, 192); }},
      {"text colour", [&] { SetGadgetColor(field, 1, 2, 3, 0); }},
      {"image", [&] { panel->SetPixmap(pixmap, 0); }},
      {"no image", [&] { panel->SetPixmap(nullptr, 0); }},
      {"menu bar", [&] { win->UpdateMenu(); }},
  };
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    change();
    EXPECT_TRUE(Drain().empty());
  }
}

TEST_F(CreationTest, KindsTheDriverDoesNotMakeGiveNull) {
  TGadget* win = MakeWindow();
  for (int kind : {6, 7, 8, 9, 10, 11, 14, 16, 17, 99, -1}) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(CreateGadget(kind, "x", 0, 0, 10, 10, win, 0), nullptr);
  }
}

TEST_F(CreationTest, FieldsRecordTextContainerOrderAndSizeWithNegativeSizesAsZero) {
  TGadget* win = MakeWindow("Title");
  TGadget* a = NewButton("A", -3, -6, -10, 20, win, 8);
  TGadget* b = NewLabel("B", 1, 2, 30, -1, win, 16);
  TGadget* group = NewPanel(0, 0, 50, 50, win, 3, "Group");
  EXPECT_EQ(win->kids, (std::vector<TGadget*>{a, b, group}));
  EXPECT_EQ(a->parent, win);
  EXPECT_EQ((Rect{a->xpos, a->ypos, a->width, a->height}), (Rect{-3, -6, 0, 20}));
  EXPECT_EQ((Rect{b->xpos, b->ypos, b->width, b->height}), (Rect{1, 2, 30, 0}));
  EXPECT_EQ(b->style, 16);
  EXPECT_EQ(driver.PeerOf(win).text, "Title");
  EXPECT_EQ(driver.PeerOf(a).text, "A");
  EXPECT_EQ(group->GetText(), "Group");
  EXPECT_EQ(a->GetText(), "A");
}

TEST_F(CreationTest, AChildOfAGroupPanelLiesInsideItsFrameByFourAndSixteen) {
  struct Case {
    int panel_style, px, py, cx, cy;
    Rect expected;
  };
  const Case cases[] = {
      {3, 10, -6, 14, 0, {28, 10, 5, 6}},  // group: +4, +16
      {3, 0, 0, -2, -20, {2, -4, 5, 6}},   // negative places follow the same rule
      {0, 10, 20, 3, 4, {13, 24, 5, 6}},   // plain: the panel itself
  };
  TGadget* win = MakeWindow();
  for (const Case& c : cases) {
    TGadget* panel = NewPanel(c.px, c.py, 88, 480, win, c.panel_style, "");
    TGadget* child = NewButton("x", c.cx, c.cy, 5, 6, panel, 8);
    EXPECT_EQ(RectInWindow(*child), c.expected);
    EXPECT_EQ(driver.PeerOf(child).rect, c.expected);
  }
  TGadget* outer = NewPanel(10, 20, 100, 100, win, 3, "");
  TGadget* inner = NewPanel(5, 5, 60, 60, outer, 3, "");
  TGadget* deep = NewSlider(1, 2, 23, 30, inner, 6);
  EXPECT_EQ(RectInWindow(*deep), (Rect{10 + 4 + 5 + 4 + 1, 20 + 16 + 5 + 16 + 2, 23, 30}));
  EXPECT_EQ(ClientArea(*outer), (Rect{4, 16, 92, 80}));
}

TEST_F(CreationTest, QueryGivesTheOwnAndTheClientHandles) {
  TGadget* win = MakeWindow();
  TGadget* group = NewPanel(0, 0, 50, 50, win, 3, "");
  TGadget* plain = NewPanel(0, 0, 50, 50, win, 0, "");
  TGadget* button = NewButton("b", 0, 0, 5, 5, win, 8);
  for (TGadget* g : {win, group}) {
    EXPECT_NE(g->Query(1), 0);
    EXPECT_NE(g->Query(2), 0);
    EXPECT_NE(g->Query(1), g->Query(2));
  }
  for (TGadget* g : {plain, button}) {
    EXPECT_NE(g->Query(1), 0);
    EXPECT_EQ(g->Query(1), g->Query(2));
  }
  EXPECT_EQ(win->Query(0), 0);
  EXPECT_EQ(win->Query(3), 0);
}

}  // namespace
}  // namespace raziz::test
