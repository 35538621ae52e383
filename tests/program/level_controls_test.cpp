// The level slider and the level field: the channel's volume as set, and each keeping the other in step.
#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

#include "tests/program/program_fixture.h"

namespace raziz::test {
namespace {

struct SliderCase {
  int value;
  float level;
  const char* field;
  friend void PrintTo(const SliderCase& c, std::ostream* out) { *out << "slider " << c.value; }
};

class LevelSlider : public ProgramTest, public ::testing::WithParamInterface<SliderCase> {};

TEST_P(LevelSlider, SetsTheVolumeAndShowsItInPercent) {
  const SliderCase c = GetParam();
  start();
  const int band = 4;
  // Through another value first, so that 105 (where the thumb starts) is a change as well.
  user().drag_slider(strip(band).level_slider, {thumb_for(c.value == 50 ? 60 : 50), thumb_for(c.value)});
  ASSERT_TRUE(run_until_idle());

  EXPECT_NEAR(volume(band), c.level, 1e-6f);
  EXPECT_EQ(peer(strip(band).level_field).text, c.field);
  EXPECT_EQ(strip(band).level_slider->GetProp(), c.value) << "the field's new text moves no slider";
  for (int other : {3, 5}) EXPECT_FLOAT_EQ(volume(other), 0.2f);
}

// 1 to 3 are silence, 200 is clamped from 1.0004 to full level.
INSTANTIATE_TEST_SUITE_P(Values, LevelSlider,
                         ::testing::Values(SliderCase{1, 0.0f, "0"}, SliderCase{3, 0.0f, "0"},
                                           SliderCase{4, 0.020008f, "2"}, SliderCase{105, 0.52521f, "52"},
                                           SliderCase{200, 1.0f, "100"}),
                         [](const auto& test) { return "Value" + std::to_string(test.param.value); });

struct FieldCase {
  const char* text;
  float level;
  int slider_value;  // as set, before the slider keeps it inside its range
  int thumb;         // where the thumb then stands, counted from the top
  friend void PrintTo(const FieldCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }
};

class LevelField : public ProgramTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(LevelField, SetsTheVolumeUnclampedAndMovesTheSlider) {
  const FieldCase c = GetParam();
  start();
  const int band = 2;
  user().set_text_by_user(strip(band).level_field, "");  // the field starts at "50": empty it first
  user().set_text_by_user(strip(band).level_field, c.text);
  ASSERT_TRUE(run_until_idle());

  EXPECT_NEAR(volume(band), c.level, 1e-6f * std::max(1.0f, c.level));
  EXPECT_EQ(strip(band).level_slider->slider_last(), c.slider_value);
  EXPECT_EQ(peer(strip(band).level_slider).slider_position, c.thumb);
  EXPECT_EQ(peer(strip(band).level_field).text, c.text) << "moving the slider must not rewrite the field";
  EXPECT_FLOAT_EQ(volume(1), 0.2f);
}

// Past the slider's range the thumb goes to the nearer end; a level beyond the 32-bit range of the slider
// saturates instead of wrapping, so the thumb stands at the top.
INSTANTIATE_TEST_SUITE_P(Texts, LevelField,
                         ::testing::Values(FieldCase{"50", 0.49995f, 100, 101}, FieldCase{"0", 0.0f, 0, 200},
                                           FieldCase{"abc", 0.0f, 0, 200}, FieldCase{"150", 1.49985f, 301, 1},
                                           FieldCase{"2147483647", 21472684.0f, INT_MAX, 1}),
                         [](const auto& test) {
                           const std::string text = test.param.text;
                           return text == "abc" ? std::string("Letters") : "Number" + text;
                         });

class LevelControls : public ProgramTest {};

TEST_F(LevelControls, AfterAnOutOfRangeFieldTheSliderReportsWhereItsThumbIs) {
  start();
  user().set_text_by_user(strip(0).level_field, "150");
  user().touch_thumb(strip(0).level_slider);  // let go of the thumb at the top: value 200
  ASSERT_TRUE(run_until_idle());
  EXPECT_FLOAT_EQ(volume(0), 1.0f);
  EXPECT_EQ(peer(strip(0).level_field).text, "100");
}

TEST_F(LevelControls, ASoundingBandIsHeardAtTheNewLevelAtOnce) {
  start();
  user().click(strip(3).tone_button);
  user().set_text_by_user(strip(3).level_field, "25");
  ASSERT_TRUE(run_until_idle());
  render_peak(4800);  // past the fade-in and the volume ramp
  EXPECT_NEAR(render_peak(4800), 25 / 100.01f, 0.002f);
}

TEST_F(LevelControls, ASilentBandStaysSilentWhateverItsLevelAndIsHeardAtItOnceSwitchedOn) {
  start();
  user().drag_slider(strip(6).level_slider, {thumb_for(200)});
  user().set_text_by_user(strip(7).level_field, "100");
  user().set_text_by_user(strip(2).level_field, "30");
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(render_peak(4800), 0.0f);
  EXPECT_TRUE(muted(6));
  EXPECT_TRUE(muted(7));

  // Switched on, each is heard at the level set while it was silent.
  const struct {
    int band;
    float level;
  } heard[] = {{6, 1.0f}, {7, 100 / 100.01f}, {2, 30 / 100.01f}};
  for (const auto& h : heard) {
    SCOPED_TRACE("band " + std::to_string(h.band));
    user().click(strip(h.band).tone_button);
    ASSERT_TRUE(run_until_idle());
    render_peak(4800);  // past the fade-in
    EXPECT_NEAR(render_peak(4800), h.level, 0.002f);
    user().click(strip(h.band).tone_button);
    ASSERT_TRUE(run_until_idle());
    render_peak(4800);
  }
}

}  // namespace
}  // namespace raziz::test
