// Menus: the tree under a window's root, the bar built only by UpdateMenu, MenuAction with the item's tag,
// and the fatal error when the platform cannot build the bar.

#include "tests/widgets/widget_test.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

class MenuTest : public WidgetTest {
 protected:
  TGadget* win = MakeWindow();
  TGadget* file = NewMenuItem("File", 0, win, 0, 0);
  TGadget* help = NewMenuItem("Help", 100, file, 0, 0);
  TGadget* about = NewMenuItem("About", 200, file, 0, 0);
  TGadget* separator = NewMenuItem("", 250, file, 0, 0);
  TGadget* exit = NewMenuItem("Exit", 300, file, 0, 0);
};

TEST_F(MenuTest, ItemsGoUnderTheWindowsRootAndTheirParentInCreationOrder) {
  TGadget* root = win->GetMenu();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(win->GetMenu(), root);
  EXPECT_EQ(root->kids, (std::vector<TGadget*>{file}));
  EXPECT_EQ(file->kids, (std::vector<TGadget*>{help, about, separator, exit}));
  EXPECT_EQ(exit->name, "Exit");
  EXPECT_EQ(exit->tag(), 300);
  EXPECT_EQ(file->GetMenu(), nullptr);
}

TEST_F(MenuTest, TheBarShowsTheTreeAsItWasAtTheLastUpdateMenu) {
  Drain();
  EXPECT_TRUE(driver.PeerOf(win).menu_bar.empty());
  user.choose_menu(exit);
  EXPECT_TRUE(RunScript().empty());
  ASSERT_EQ(driver.IgnoredInput().size(), 1u);

  win->UpdateMenu();
  const auto& bar = driver.PeerOf(win).menu_bar;
  ASSERT_EQ(bar.size(), 1u);
  EXPECT_EQ(bar[0].text, "File");
  std::vector<std::string> entries;
  for (const auto& e : bar[0].children) entries.push_back(e.text);
  EXPECT_EQ(entries, (std::vector<std::string>{"Help", "About", "", "Exit"}));

  TGadget* later = NewMenuItem("Later", 400, file, 0, 0);
  EXPECT_EQ(driver.PeerOf(win).menu_bar[0].children.size(), 4u);
  user.choose_menu(later);
  EXPECT_TRUE(RunScript().empty());
  win->UpdateMenu();
  EXPECT_EQ(driver.PeerOf(win).menu_bar[0].children.size(), 5u);
}

TEST_F(MenuTest, ChoosingALeafRaisesMenuActionWithItsTagAndAMenuRaisesNothing) {
  win->UpdateMenu();
  Drain();
  struct Case {
    TGadget* item;
    bool raises;
  };
  for (const Case& c : {Case{help, true}, Case{about, true}, Case{exit, true}, Case{file, false}}) {
    SCOPED_TRACE(c.item->name);
    user.choose_menu(c.item);
    const std::vector<TEvent> got = RunScript();
    if (!c.raises) {
      EXPECT_TRUE(got.empty());
      continue;
    }
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].id, kMenuAction);
    EXPECT_EQ(got[0].source, c.item);
    EXPECT_EQ(got[0].data, c.item->tag());
  }
}

TEST_F(MenuTest, ABarThePlatformCannotBuildEndsTheProcessWithTheMessage) {
  driver.FailMenuBars(true);
  EXPECT_EXIT(win->UpdateMenu(), ::testing::ExitedWithCode(255),
              "^Parent doesn't have a handle - the desktop heap may have run out of memory!\n$");
}

}  // namespace
}  // namespace raziz::test
