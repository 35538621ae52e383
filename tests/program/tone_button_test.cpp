// The tone button with its lamp and waveform boxes, and the keyboard inside a strip.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/program/program_fixture.h"
#include "ui/dialogs/dialog_texts.h"
#include "ui/strips/strip_images.h"
#include "ui/widgets/core/input.h"

namespace raziz::test {
namespace {

using ui::Key;

struct BoxCase {
  const char* name;
  bool square;
  bool triangle;
  float waveform;
  friend void PrintTo(const BoxCase& c, std::ostream* out) { *out << c.name; }
};

class ToneButton : public ProgramTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(ToneButton, AppliesTheBoxesWaveformOnEveryPressAndSwapsTheLamp) {
  const BoxCase c = GetParam();
  start();
  const int band = 3;
  ChannelStrip& s = strip(band);
  const auto green = image_pixels(kGreenLamp);
  const auto red = image_pixels(kRedLamp);

  // Both boxes checked only comes about through clicks made while a dialog is open.
  if (c.square && c.triangle) user().choose_menu(program.help_item);
  if (c.square) user().click(s.square_box);
  if (c.triangle) user().click(s.triangle_box);
  if (c.square && c.triangle) user().click(ui::headless::Find(ui::kButton, "OK"));
  ASSERT_TRUE(run_until_idle());
  ASSERT_EQ(peer(s.square_box).check, c.square ? 1 : 0);
  ASSERT_EQ(peer(s.triangle_box).check, c.triangle ? 1 : 0);
  EXPECT_EQ(waveform(band), mixer::WAVE_SINE) << "a box alone changes no sound";

  user().click(s.tone_button);
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(waveform(band), c.waveform);
  EXPECT_TRUE(program.bank.channels[band].sounding);
  EXPECT_FALSE(muted(band));
  ASSERT_NE(s.lamp->pixmap(), nullptr);
  EXPECT_EQ(s.lamp->pixmap()->pixels, red);
  render_peak(4800);
  EXPECT_NEAR(render_peak(4800), 0.2f, 0.002f) << "heard at the level set at start-up";

  // The waveform is set again when switching off: a box changed meanwhile counts from this press.
  user().click(s.square_box);
  user().click(s.tone_button);
  ASSERT_TRUE(run_until_idle());
  const bool square_now = !c.square;
  EXPECT_EQ(waveform(band), square_now ? mixer::WAVE_SQUARE : mixer::WAVE_SINE);
  EXPECT_FALSE(program.bank.channels[band].sounding);
  EXPECT_TRUE(muted(band));
  ASSERT_NE(s.lamp->pixmap(), nullptr);
  EXPECT_EQ(s.lamp->pixmap()->pixels, green);
  render_peak(4800);
  EXPECT_EQ(render_peak(4800), 0.0f);

  for (int other = 0; other < 9; ++other) {
    if (other == band) continue;
    EXPECT_TRUE(muted(other));
    EXPECT_EQ(waveform(other), mixer::WAVE_SINE);
    EXPECT_EQ(strip(other).lamp->pixmap()->pixels, green);
  }
}

INSTANTIATE_TEST_SUITE_P(Boxes, ToneButton,
                         ::testing::Values(BoxCase{"Neither", false, false, mixer::WAVE_SINE},
                                           BoxCase{"Square", true, false, mixer::WAVE_SQUARE},
                                           BoxCase{"Triangle", false, true, mixer::WAVE_TRIANGLE},
                                           BoxCase{"BothTriangleWins", true, true, mixer::WAVE_TRIANGLE}),
                         [](const auto& test) { return std::string(test.param.name); });

class WaveformBoxes : public ProgramTest {};

TEST_F(WaveformBoxes, ExcludeEachOtherWithinTheirStripOnly) {
  start();
  struct Step {
    int band;
    bool square;  // which box is clicked
    int square_after, triangle_after;
  };
  const Step steps[] = {
      {5, true, 1, 0},   // SQUARE on
      {5, false, 0, 1},  // TRIANGLE on clears SQUARE
      {5, true, 1, 0},   // and the reverse
      {5, true, 0, 0},   // SQUARE off leaves TRIANGLE off
      {5, false, 0, 1}, {5, false, 0, 0},
  };
  for (const Step& step : steps) {
    user().click(step.square ? strip(step.band).square_box : strip(step.band).triangle_box);
    ASSERT_TRUE(run_until_idle());
    EXPECT_EQ(peer(strip(step.band).square_box).check, step.square_after);
    EXPECT_EQ(peer(strip(step.band).triangle_box).check, step.triangle_after);
  }
  // A neighbour's boxes are its own.
  user().click(strip(6).triangle_box);
  user().click(strip(5).square_box);
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(peer(strip(6).triangle_box).check, 1);
  EXPECT_EQ(peer(strip(5).square_box).check, 1);
}

TEST_F(WaveformBoxes, BothCheckedDuringADialogAndAClickAfterwardsIsHandledAsUsual) {
  start();
  user().choose_menu(program.about_item);
  user().click(strip(2).square_box);
  user().click(strip(2).triangle_box);
  look([&] {
    EXPECT_EQ(peer(strip(2).square_box).check, 1);
    EXPECT_EQ(peer(strip(2).triangle_box).check, 1);
  });
  user().click(ui::headless::Find(ui::kButton, "OK"));
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(peer(strip(2).square_box).check, 1);
  EXPECT_EQ(peer(strip(2).triangle_box).check, 1);

  user().click(strip(2).triangle_box);  // unchecks itself, and clears SQUARE as usual
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(peer(strip(2).square_box).check, 0);
  EXPECT_EQ(peer(strip(2).triangle_box).check, 0);
}

struct EnterCase {
  const char* name;
  ControlRole focus;
  friend void PrintTo(const EnterCase& c, std::ostream* out) { *out << c.name; }
};

class EnterInAStrip : public ProgramTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterInAStrip, PressesThatStripsToneButton) {
  start();
  const int band = 7;
  ChannelStrip& s = strip(band);
  ui::TGadget* focus = GetParam().focus == ControlRole::frequency_field ? s.frequency_field
                       : GetParam().focus == ControlRole::level_field   ? s.level_field
                                                                        : s.square_box;
  if (focus->kind() == ui::kButton) {
    user().click(focus);
    user().click(focus);  // back to unchecked: only the focus is wanted
  } else {
    user().click(focus);
  }
  user().key(program.main_window, Key::kEnter);
  ASSERT_TRUE(run_until_idle());
  EXPECT_TRUE(program.bank.channels[band].sounding);
  EXPECT_FALSE(muted(band));
  EXPECT_EQ(s.lamp->pixmap()->pixels, image_pixels(kRedLamp));
  for (int other = 0; other < 9; ++other) {
    if (other != band) { EXPECT_FALSE(program.bank.channels[other].sounding); }
  }

  user().click(focus);  // a box unchecked again, a field simply focused
  if (focus->kind() == ui::kButton) user().click(focus);
  user().key(program.main_window, Key::kEnter);
  ASSERT_TRUE(run_until_idle());
  EXPECT_FALSE(program.bank.channels[band].sounding);
  EXPECT_TRUE(muted(band));
}

INSTANTIATE_TEST_SUITE_P(Focus, EnterInAStrip,
                         ::testing::Values(EnterCase{"FrequencyField", ControlRole::frequency_field},
                                           EnterCase{"LevelField", ControlRole::level_field},
                                           EnterCase{"SquareBox", ControlRole::square_box}),
                         [](const auto& test) { return std::string(test.param.name); });

class Keyboard : public ProgramTest {};

TEST_F(Keyboard, TabStaysInsideTheStripAndStopsOnTheSlider) {
  start();
  ChannelStrip& s = strip(4);
  user().click(s.tone_button);
  ASSERT_TRUE(run_until_idle());
  ASSERT_EQ(program.main_window->focus(), s.tone_button);

  ui::TGadget* const expected[] = {s.frequency_field, s.level_field,  s.square_box,  s.triangle_box,
                                   s.level_slider,    s.level_slider, s.level_slider};
  for (ui::TGadget* next : expected) {
    user().key(program.main_window, Key::kTab);
    ASSERT_TRUE(run_until_idle());
    EXPECT_EQ(program.main_window->focus(), next) << "focus on \"" << program.main_window->focus()->text() << "\"";
  }
  // Shift+Tab on the lone slider stays too.
  user().key(program.main_window, Key::kTab, true);
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(program.main_window->focus(), s.level_slider);
}

TEST_F(Keyboard, AClickedLampHandsTabAndEnterToItsStripAsTheStripItselfDoes) {
  start();
  const int band = 6;
  ChannelStrip& s = strip(band);
  user().click_panel(s.lamp);
  user().key(program.main_window, Key::kTab);
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(program.main_window->focus(), s.tone_button);

  user().click_panel(s.lamp);
  user().key(program.main_window, Key::kEnter);
  ASSERT_TRUE(run_until_idle());
  EXPECT_TRUE(program.bank.channels[band].sounding);
  EXPECT_EQ(s.lamp->pixmap()->pixels, image_pixels(kRedLamp));

  // An empty part of the strip: Enter presses its tone button too.
  user().click_panel(s.group_panel);
  user().key(program.main_window, Key::kEnter);
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(program.main_window->focus(), s.group_panel);
  EXPECT_FALSE(program.bank.channels[band].sounding);
}

// No window of the program holds a cancel button.
TEST_F(Keyboard, EscapeDoesNothingWhereverTheFocusIs) {
  start();
  ChannelStrip& s = strip(2);
  ui::TGadget* const focus_on[] = {nullptr,       s.lamp,       s.group_panel, s.tone_button, s.frequency_field,
                                   s.level_field, s.square_box, s.slider_well, s.level_slider};
  for (ui::TGadget* g : focus_on) {
    SCOPED_TRACE(g ? "focus on \"" + g->text() + "\" (kind " + std::to_string(g->kind()) + ")" : "focus on the window");
    if (g) user().click(g);
    if (g == s.square_box || g == s.tone_button) user().click(g);  // back as it was, the focus kept
    user().key(program.main_window, Key::kEscape);
    ASSERT_TRUE(run_until_idle());
    EXPECT_EQ(program.main_window->focus(), g);
    for (int band = 0; band < 9; ++band) EXPECT_FALSE(program.bank.channels[band].sounding);
    EXPECT_EQ(peer(s.square_box).check, 0);
    EXPECT_EQ(peer(s.level_field).text, "50");
    EXPECT_EQ(peer(s.frequency_field).text, "800");
  }

  // In a dialog: on its window, then in its text area.
  user().choose_menu(program.help_item);
  const auto help = ui::headless::Find(ui::kWindow, "Help");
  user().key(help, Key::kEscape);
  user().click(ui::headless::Find(ui::kTextArea, std::string(kHelpText)));
  user().key(help, Key::kEscape);
  look([] { EXPECT_NE(ui::headless::THeadlessDriver::Find(ui::kWindow, "Help"), nullptr) << "Help closed"; });
  user().click(ui::headless::Find(ui::kButton, "OK"));
  ASSERT_TRUE(run_until_idle());
}

TEST_F(Keyboard, SliderKeysMoveTheLevel) {
  start();
  ChannelStrip& s = strip(0);
  user().click(s.level_slider);
  user().key(program.main_window, Key::kHome);  // the top end: 200
  ASSERT_TRUE(run_until_idle());
  EXPECT_FLOAT_EQ(volume(0), 1.0f);
  EXPECT_EQ(peer(s.level_field).text, "100");
  user().key(program.main_window, Key::kEnd);  // the bottom end: 1
  ASSERT_TRUE(run_until_idle());
  EXPECT_FLOAT_EQ(volume(0), 0.0f);
  EXPECT_EQ(peer(s.level_field).text, "0");
}

}  // namespace
}  // namespace raziz::test
