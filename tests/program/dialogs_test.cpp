// Help and About: what they show, what dismisses them, the links, and the events they swallow.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/program/program_fixture.h"
#include "ui/widgets/core/geometry.h"
#include "ui/widgets/core/input.h"

namespace raziz::test {
namespace {

using ui::Rect;
using ui::TGadget;
using ui::headless::Find;
using ui::headless::THeadlessDriver;

Rect rect_of(const TGadget* g) { return Rect{g->xpos, g->ypos, g->width, g->height}; }

// The dialog window: the top-level window that is not the main one.
TGadget* dialog_window(TGadget* main_window) {
  for (TGadget* w : THeadlessDriver::FindAll(ui::kWindow)) {
    if (w != main_window) return w;
  }
  return nullptr;
}

// The Help text as the program shows it; the checks find the text area by it.
constexpr const char* kHelpText =
    "If square or triangle functions are unchecked the\rdefault audio engine generates a sine waveform.";

struct Expected {
  int kind;
  Rect rect;
  int style;
  std::string text;
};

void expect_children(TGadget* window, const std::vector<Expected>& expected) {
  ASSERT_EQ(window->kids.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("child " + std::to_string(i) + " \"" + expected[i].text + "\"");
    EXPECT_EQ(window->kids[i]->kind(), expected[i].kind);
    EXPECT_EQ(rect_of(window->kids[i]), expected[i].rect);
    EXPECT_EQ(window->kids[i]->style, expected[i].style);
    EXPECT_EQ(window->kids[i]->text(), expected[i].text);
  }
}

class Dialogs : public ProgramTest {
 protected:
  // Checks the open dialog when the program next waits, and counts it.
  void look_at_dialog(std::function<void(TGadget*)> check) {
    look([this, check] {
      TGadget* dialog = dialog_window(program.main_window);
      ++dialogs_seen;
      if (!dialog) return ADD_FAILURE() << "no dialog is open";
      check(dialog);
    });
  }
  // The user clicks the open dialog's close box. (Its title is the main window's, so it is found by elimination.)
  void close_dialog() {
    session.driver.Script({[this] {
                            if (TGadget* dialog = dialog_window(program.main_window)) ui::input::CloseAsked(dialog);
                          }},
                          nullptr);
  }
  void expect_no_dialog() {
    look([this] { EXPECT_EQ(dialog_window(program.main_window), nullptr); });
  }
  int dialogs_seen = 0;
};

TEST_F(Dialogs, HelpShowsItsTextAndOkClosesIt) {
  start();
  const std::size_t gadgets_before = THeadlessDriver::LiveCount();
  const int repaints_before = peer(program.main_window).immediate_repaints;

  user().choose_menu(program.help_item);
  look_at_dialog([&](TGadget* dialog) {
    EXPECT_EQ(dialog->text(), "Help");
    EXPECT_EQ(peer(dialog).rect, (Rect{250, 250, 364, 285}));
    EXPECT_EQ(dialog->style, 1);
    EXPECT_EQ(session.driver.ActiveWindow(), dialog);
    EXPECT_EQ(dialog->focus(), nullptr) << "the dialog opens with the focus on itself";
    const std::vector<Expected> children = {{ui::kButton, {142, 210, 75, 23}, 4, "OK"},
                                            {ui::kLabel, {60, 20, 241, 14}, 16, "Raziz 1.0"},
                                            {ui::kTextArea, {25, 55, 300, 130}, 0, kHelpText}};
    expect_children(dialog, children);
  });
  // Enter with the focus on the window itself does nothing; the text may be edited, to no effect.
  user().key(Find(ui::kWindow, "Help"), ui::Key::kEnter);
  user().type(Find(ui::kTextArea, kHelpText), "!");
  look_at_dialog([](TGadget*) {});
  user().click(Find(ui::kButton, "OK"));
  expect_no_dialog();
  ASSERT_TRUE(run_until_idle());

  EXPECT_EQ(dialogs_seen, 2);
  EXPECT_EQ(THeadlessDriver::LiveCount(), gadgets_before);
  EXPECT_GT(peer(program.main_window).immediate_repaints, repaints_before + 1)
      << "repainted on the menu command and after the dialog";
  EXPECT_TRUE(session.driver.OpenedAddresses().empty());
  EXPECT_FALSE(ended_status.has_value());
}

TEST_F(Dialogs, AboutShowsTheVersionTheDisclaimerAndThreeLinks) {
  start();
  user().choose_menu(program.about_item);
  look_at_dialog([&](TGadget* dialog) {
    EXPECT_EQ(dialog->text(), "Raziz 1.0");
    EXPECT_EQ(peer(dialog).rect, (Rect{250, 250, 364, 285}));
    EXPECT_EQ(dialog->style, 1);
    const std::vector<Expected> children = {
        {ui::kButton, {142, 210, 75, 23}, 4, "OK"},
        {ui::kLabel, {60, 20, 241, 14}, 16, "Raziz 1.0"},
        {ui::kLabel, {45, 80, 271, 14}, 0, "This software is As-Is, use this software at own risk."},
        {ui::kButton, {100, 108, 170, 23}, 8, "WWW.RIDUVOAUDIO.COM"},
        {ui::kButton, {100, 138, 170, 23}, 8, "Riduvo Audio @ FACEBOOK"},
        {ui::kButton, {100, 168, 170, 23}, 8, "Riduvo Audio @ TWITTER"}};
    expect_children(dialog, children);
  });
  user().click(Find(ui::kButton, "OK"));
  expect_no_dialog();
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(dialogs_seen, 1);
  EXPECT_TRUE(session.driver.OpenedAddresses().empty());
}

struct LinkCase {
  const char* name;
  const char* caption;
  const char* address;  // null: nothing opens
  friend void PrintTo(const LinkCase& c, std::ostream* out) { *out << c.caption; }
};

class DialogDismissal : public Dialogs, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(DialogDismissal, EachWayOutOpensAtMostOneAddress) {
  const LinkCase c = GetParam();
  start();
  user().choose_menu(program.about_item);
  if (std::string(c.caption) == "close box") {
    close_dialog();
  } else {
    user().click(Find(ui::kButton, c.caption));
  }
  expect_no_dialog();
  ASSERT_TRUE(run_until_idle());
  const std::vector<std::string> expected =
      c.address ? std::vector<std::string>{c.address} : std::vector<std::string>{};
  EXPECT_EQ(session.driver.OpenedAddresses(), expected);
  EXPECT_FALSE(ended_status.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, DialogDismissal,
    ::testing::Values(LinkCase{"Website", "WWW.RIDUVOAUDIO.COM", "https://www.riduvoaudio.com"},
                      LinkCase{"Facebook", "Riduvo Audio @ FACEBOOK", "https://www.facebook.com/riduvoaudio"},
                      LinkCase{"Twitter", "Riduvo Audio @ TWITTER", "https://twitter.com/riduvoaudio"},
                      LinkCase{"Ok", "OK", nullptr}, LinkCase{"CloseBox", "close box", nullptr}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(Dialogs, WhileOpenTheMainWindowsActionsAreSwallowedAndItsCloseBoxClosesOnlyTheDialog) {
  start();
  user().choose_menu(program.about_item);
  user().click(strip(0).tone_button);
  user().drag_slider(strip(1).level_slider, {thumb_for(200)});
  user().set_text_by_user(strip(2).frequency_field, "440");
  user().set_text_by_user(strip(3).level_field, "10");
  user().choose_menu(program.exit_item);
  user().choose_menu(program.help_item);
  look_at_dialog([](TGadget* dialog) { EXPECT_EQ(dialog->text(), "Raziz 1.0") << "About is still the one open"; });
  user().close(program.main_window);
  expect_no_dialog();
  ASSERT_TRUE(run_until_idle());

  EXPECT_EQ(dialogs_seen, 1);
  EXPECT_FALSE(ended_status.has_value()) << "neither Exit nor the close box ended the program";
  EXPECT_TRUE(program.main_window->alive());
  for (int b = 0; b < 9; ++b) {
    EXPECT_TRUE(muted(b));
    EXPECT_FALSE(program.bank.channels[b].sounding);
    EXPECT_FLOAT_EQ(volume(b), 0.2f);
    EXPECT_EQ(rate(b), static_cast<float>(kBandFrequencies[b]));
  }
  // The controls moved on screen, but nothing followed them.
  EXPECT_EQ(peer(strip(2).frequency_field).text, "440");
  EXPECT_EQ(peer(strip(2).tone_button).text, "800");
  EXPECT_EQ(peer(strip(1).level_field).text, "50");
  EXPECT_EQ(peer(strip(3).level_slider).slider_position, 96);
  EXPECT_EQ(strip(0).lamp->pixmap()->pixels, image_pixels("verde.png"));

  // After the dialog the same controls work as usual.
  user().click(strip(0).tone_button);
  ASSERT_TRUE(run_until_idle());
  EXPECT_FALSE(muted(0));
}

TEST_F(Dialogs, OpeningAndClosingRepeatedlyLeavesNothingBehind) {
  start();
  const std::size_t gadgets_before = THeadlessDriver::LiveCount();
  for (int i = 0; i < 3; ++i) {
    user().choose_menu(program.help_item);
    user().click(Find(ui::kButton, "OK"));
    user().choose_menu(program.about_item);
    close_dialog();
  }
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(THeadlessDriver::LiveCount(), gadgets_before);
  EXPECT_EQ(THeadlessDriver::FindAll(ui::kWindow), std::vector<TGadget*>{program.main_window});
}

TEST_F(Dialogs, EnterOnTheFocusedOkButtonCloses) {
  start();
  user().choose_menu(program.help_item);
  // The text area is no tab stop; from it Tab reaches the window's only one, OK.
  user().click(Find(ui::kTextArea, kHelpText));
  user().key(Find(ui::kWindow, "Help"), ui::Key::kTab);
  look_at_dialog([&](TGadget* dialog) { EXPECT_EQ(dialog->focus(), Find(ui::kButton, "OK").Resolve()); });
  user().key(Find(ui::kWindow, "Help"), ui::Key::kEnter);
  expect_no_dialog();
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(dialogs_seen, 1);
}

}  // namespace
}  // namespace raziz::test
