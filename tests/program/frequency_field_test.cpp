// The frequency field: the oscillator's rate from the typed text, the button showing the text as typed.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "tests/program/program_fixture.h"

namespace raziz::test {
namespace {

struct FrequencyCase {
  const char* name;
  const char* text;
  float rate;
  friend void PrintTo(const FrequencyCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }
};

class FrequencyField : public ProgramTest, public ::testing::WithParamInterface<FrequencyCase> {};

TEST_P(FrequencyField, SetsTheRateAndTheButtonCaption) {
  const FrequencyCase c = GetParam();
  start();
  const int band = 5;
  user().set_text_by_user(strip(band).frequency_field, c.text);
  ASSERT_TRUE(run_until_idle());

  EXPECT_EQ(rate(band), c.rate);
  EXPECT_EQ(peer(strip(band).tone_button).text, c.text);
  EXPECT_EQ(program.bank.channels[band].frequency, 1600) << "the band's nominal frequency stays";
  EXPECT_EQ(rate(4), 1250.0f);
  EXPECT_EQ(peer(strip(4).tone_button).text, "1250");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FrequencyField,
    ::testing::Values(FrequencyCase{"Plain", "750", 750.0f}, FrequencyCase{"TrailingLetters", "12ab", 12.0f},
                      FrequencyCase{"Hexadecimal", "$100", 256.0f}, FrequencyCase{"Binary", "%1000", 8.0f},
                      FrequencyCase{"LeadingBlank", " 42", 42.0f}, FrequencyCase{"Negative", "-5", -5.0f},
                      FrequencyCase{"NoNumber", "abc", 0.0f}, FrequencyCase{"Empty", "", 0.0f},
                      // wraps around modulo 2^32, as the field has always read numbers
                      FrequencyCase{"Past32Bits", "99999999999", 1215752191.0f}),
    [](const auto& test) { return std::string(test.param.name); });

class FrequencyTyping : public ProgramTest {};

TEST_F(FrequencyTyping, EveryKeystrokeSetsTheRate) {
  start();
  ChannelStrip& s = strip(0);
  user().set_text_by_user(s.frequency_field, "");
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(rate(0), 0.0f);

  const float expected[] = {1.0f, 12.0f, 125.0f, 1250.0f};
  const std::string digits = "1250";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    user().type(s.frequency_field, digits.substr(i, 1));
    ASSERT_TRUE(run_until_idle());
    EXPECT_EQ(rate(0), expected[i]);
    EXPECT_EQ(peer(s.tone_button).text, digits.substr(0, i + 1));
  }
}

TEST_F(FrequencyTyping, KeystrokesQueuedTogetherGiveTheLastText) {
  start();
  ChannelStrip& s = strip(8);
  user().set_text_by_user(s.frequency_field, "");
  user().type(s.frequency_field, "440");
  session.driver.DeliverAll();  // the user typed while the program was busy
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(rate(8), 440.0f);
  EXPECT_EQ(peer(s.tone_button).text, "440");
  const auto rate_calls =
      std::count_if(calls.begin(), calls.end(), [](const MixerCall& c) { return c.call == "DSP_SetParameter"; });
  EXPECT_EQ(rate_calls, 1) << "the four edits reached the program as one action";
}

TEST_F(FrequencyTyping, ASoundingBandChangesPitchWhileASilentOneWaits) {
  start();
  user().click(strip(1).tone_button);
  user().set_text_by_user(strip(1).frequency_field, "700");
  user().set_text_by_user(strip(2).frequency_field, "900");
  ASSERT_TRUE(run_until_idle());
  EXPECT_EQ(rate(1), 700.0f);
  EXPECT_FALSE(muted(1));
  EXPECT_EQ(rate(2), 900.0f);
  EXPECT_TRUE(muted(2));

  user().click(strip(2).tone_button);
  ASSERT_TRUE(run_until_idle());
  EXPECT_FALSE(muted(2));
  EXPECT_EQ(rate(2), 900.0f);
}

}  // namespace
}  // namespace raziz::test
