// The tone bank over an offline mixer: start-up state, toggling, per-band settings, shutdown order.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "audio/tone_bank.h"
#include "tests/signal/analysis.h"

namespace raziz::test {
namespace {

constexpr int kRate = 48000;

std::vector<double> render(ToneBank& bank, int frames) {
  std::vector<float> buffer(static_cast<std::size_t>(frames) * 2);
  EXPECT_EQ(mixer::System_Render(bank.system, buffer.data(), frames), mixer::RESULT_OK);
  std::vector<double> left(frames);
  for (int i = 0; i < frames; ++i) left[i] = buffer[2 * i];
  return left;
}

double peak(const std::vector<double>& x) {
  double p = 0.0;
  for (double v : x) p = std::max(p, std::abs(v));
  return p;
}

class ToneBankTest : public ::testing::Test {
 protected:
  void SetUp() override { start(bank, AudioOutput::offline); }
  void TearDown() override {
    if (bank.system) shutdown(bank);
  }
  float parameter(int band, int index) {
    float v = -1.0f;
    EXPECT_EQ(mixer::DSP_GetParameter(bank.channels[band].oscillator, index, &v), mixer::RESULT_OK);
    return v;
  }
  float volume(int band) {
    float v = -1.0f;
    EXPECT_EQ(mixer::Channel_GetVolume(bank.channels[band].channel, &v), mixer::RESULT_OK);
    return v;
  }
  bool muted(int band) {
    bool m = false;
    EXPECT_EQ(mixer::Channel_GetMute(bank.channels[band].channel, &m), mixer::RESULT_OK);
    return m;
  }
  ToneBank bank;
};

TEST(BandTable, NineThirdOctaveBands) {
  const int frequencies[] = {500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150};
  ASSERT_EQ(kBandCount, 9);
  for (int band = 0; band < 9; ++band) EXPECT_EQ(kBandFrequencies[band], frequencies[band]);
}

TEST_F(ToneBankTest, AfterStartNineMutedSinesRunAndTheOutputIsSilent) {
  for (int band = 0; band < 9; ++band) {
    const ToneChannel& tone = bank.channels[band];
    EXPECT_EQ(tone.band, band);
    EXPECT_EQ(tone.frequency, kBandFrequencies[band]);
    EXPECT_FALSE(tone.sounding);
    ASSERT_NE(tone.oscillator, nullptr);
    ASSERT_NE(tone.channel, nullptr);
    bool playing = false, paused = true;
    EXPECT_EQ(mixer::Channel_IsPlaying(tone.channel, &playing), mixer::RESULT_OK);
    EXPECT_EQ(mixer::Channel_GetPaused(tone.channel, &paused), mixer::RESULT_OK);
    EXPECT_TRUE(playing);
    EXPECT_FALSE(paused);
    EXPECT_TRUE(muted(band));
    EXPECT_EQ(volume(band), 0.2f);
    EXPECT_EQ(parameter(band, mixer::OSCILLATOR_TYPE), mixer::WAVE_SINE);
    EXPECT_EQ(parameter(band, mixer::OSCILLATOR_RATE), static_cast<float>(kBandFrequencies[band]));
  }
  // Nine distinct channels.
  for (int a = 0; a < 9; ++a)
    for (int b = a + 1; b < 9; ++b) EXPECT_NE(bank.channels[a].channel, bank.channels[b].channel);
  EXPECT_EQ(peak(render(bank, kRate)), 0.0);
}

TEST_F(ToneBankTest, ToggleSoundsTheBandAndToggleAgainSilencesItKeepingItsSettings) {
  toggle(bank, 3);
  EXPECT_TRUE(bank.channels[3].sounding);
  EXPECT_FALSE(muted(3));
  render(bank, kRate / 10);  // past the fade-in
  const auto x = render(bank, kRate);
  const test::SineFit fit = test::fit_sine(x, 1000.0, kRate);
  EXPECT_NEAR(fit.amplitude, 0.2, 1e-6);
  EXPECT_NEAR(peak(x), 0.2, 1e-6);
  EXPECT_LT(fit.residual_rms, 1e-7);  // nothing else sounds

  toggle(bank, 3);
  EXPECT_FALSE(bank.channels[3].sounding);
  EXPECT_TRUE(muted(3));
  render(bank, kRate / 10);  // past the fade-out
  EXPECT_EQ(peak(render(bank, kRate / 2)), 0.0);
  EXPECT_EQ(parameter(3, mixer::OSCILLATOR_RATE), 1000.0f);
  EXPECT_EQ(parameter(3, mixer::OSCILLATOR_TYPE), mixer::WAVE_SINE);
  EXPECT_EQ(volume(3), 0.2f);
}

TEST_F(ToneBankTest, PerBandSettingsReachTheMixerUnchanged) {
  const std::pair<Waveform, float> waves[] = {{Waveform::square, mixer::WAVE_SQUARE},
                                              {Waveform::triangle, mixer::WAVE_TRIANGLE},
                                              {Waveform::sine, mixer::WAVE_SINE}};
  for (const auto& [kind, value] : waves) {
    set_waveform(bank, 5, kind);
    EXPECT_EQ(parameter(5, mixer::OSCILLATOR_TYPE), value);
  }
  for (float hz : {0.0f, 440.0f, 99999.0f, -5.0f}) {
    set_rate(bank, 2, hz);
    EXPECT_EQ(parameter(2, mixer::OSCILLATOR_RATE), hz);
  }
  // The bank neither clamps nor rounds; the values here are what the strip handlers compute.
  for (float level : {0.49995f, 1.49985f, 0.0f, 1.5f}) {
    set_level(bank, 7, level);
    EXPECT_EQ(volume(7), level);
  }
  EXPECT_EQ(bank.channels[2].frequency, 800);  // the nominal frequency stays
}

TEST_F(ToneBankTest, ALevelAboveOneSoundsAtFullScale) {
  set_level(bank, 0, 1.5f);
  toggle(bank, 0);
  render(bank, kRate / 10);
  EXPECT_EQ(peak(render(bank, kRate / 10)), 1.0);
}

TEST_F(ToneBankTest, ShutdownReleasesTheNineOscillatorsInBandOrderThenClosesAndReleases) {
  std::vector<std::pair<std::string, const void*>> calls;
  mixer::System_SetCallTrace(
      bank.system,
      [](void* user, const char* call, const void* handle) {
        static_cast<std::vector<std::pair<std::string, const void*>>*>(user)->emplace_back(call, handle);
      },
      &calls);
  mixer::System* system = bank.system;
  shutdown(bank);
  ASSERT_EQ(calls.size(), 11u);
  for (int band = 0; band < 9; ++band) {
    EXPECT_EQ(calls[band].first, "DSP_Release");
    EXPECT_EQ(calls[band].second, bank.channels[band].oscillator) << "band " << band;
  }
  EXPECT_EQ(calls[9], std::make_pair(std::string("System_Close"), static_cast<const void*>(system)));
  EXPECT_EQ(calls[10], std::make_pair(std::string("System_Release"), static_cast<const void*>(system)));
}

// Every band at full volume in every waveform at once: the mix stays within full scale.
TEST_F(ToneBankTest, AllBandsSoundingStayWithinFullScale) {
  for (int band = 0; band < 9; ++band) {
    set_waveform(bank, band, band % 3 == 0 ? Waveform::sine : band % 3 == 1 ? Waveform::square : Waveform::triangle);
    set_level(bank, band, 1.0f);
    toggle(bank, band);
  }
  render(bank, kRate / 10);
  const auto x = render(bank, kRate);
  EXPECT_EQ(peak(x), 1.0);
}

}  // namespace
}  // namespace raziz::test
