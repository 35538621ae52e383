// Inputs the mixer must take safely: out-of-range volumes and rates, and mixes that exceed full scale.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "tests/signal/analysis.h"
#include "tests/signal/offline_mixer.h"

namespace raziz::test {
namespace {

constexpr int kRate = 48000;

double peak(const std::vector<double>& x) {
  double p = 0.0;
  for (double v : x) p = std::max(p, std::abs(v));
  return p;
}

TEST(UnsafeInput, VolumeIsClampedToZeroToOne) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    float volume;
    double expected_peak;
  } cases[] = {{1.5f, 1.0},
               {150.0f, 1.0},
               {std::numeric_limits<float>::infinity(), 1.0},
               {-0.5f, 0.0},
               {-std::numeric_limits<float>::infinity(), 0.0},
               {nan, 0.0}};
  for (const auto& c : cases) {
    OfflineMixer mixer(kRate);
    const Tone tone = mixer.add(0.0f, 1000.0f, c.volume);
    mixer.skip(kRate / 10);
    const auto x = mixer.render(kRate / 10);
    EXPECT_EQ(peak(x), c.expected_peak) << "volume " << c.volume;
    if (c.expected_peak > 0) {
      // Clamped, not clipped: still a pure sine.
      const SineFit fit = fit_sine(x, 1000.0, kRate);
      EXPECT_LT(fit.residual_rms, 1e-7) << "volume " << c.volume;
    }
    float read_back = 0.0f;
    ASSERT_EQ(mixer::Channel_GetVolume(tone.channel, &read_back), mixer::RESULT_OK);
    if (std::isnan(c.volume)) EXPECT_TRUE(std::isnan(read_back));
    else EXPECT_EQ(read_back, c.volume);
  }
}

// Rates the oscillator cannot play give exact silence, with no DC, both from the start and when a
// playing tone is moved there (it fades out).
TEST(UnsafeInput, UnplayableRatesAreSilence) {
  const float rates[] = {0.0f,     -1.0f,    -1000.0f, std::numeric_limits<float>::quiet_NaN(), 24000.0f,
                         24000.5f, 30000.0f, 1e30f,    std::numeric_limits<float>::infinity()};
  for (float waveform : {0.0f, 1.0f, 4.0f}) {
    for (float rate : rates) {
      OfflineMixer mixer(kRate);
      mixer.add(waveform, rate, 1.0f);
      const auto from_start = mixer.render(kRate / 10);
      EXPECT_EQ(peak(from_start), 0.0) << "waveform " << waveform << ", rate " << rate;

      OfflineMixer moved(kRate);
      const Tone tone = moved.add(waveform, 1000.0f, 1.0f);
      moved.skip(kRate / 10);
      mixer::DSP_SetParameter(tone.dsp, mixer::OSCILLATOR_RATE, rate);
      moved.skip(kRate / 20);
      const auto after = moved.render(kRate / 10);
      EXPECT_EQ(peak(after), 0.0) << "waveform " << waveform << ", moved to rate " << rate;
    }
  }
}

TEST(UnsafeInput, JustBelowNyquistStillPlays) {
  OfflineMixer mixer(kRate);
  mixer.add(0.0f, 23999.0f, 0.5f);
  mixer.skip(kRate / 10);
  const SineFit fit = fit_sine(mixer.render(kRate), 23999.0, kRate);
  EXPECT_NEAR(fit.amplitude, 0.5, 1e-6);
}

// Nine full-scale sines in phase add up to 9: the output sits at +-1 wherever the sum is beyond,
// follows the sum elsewhere, and never wraps to the other sign.
TEST(UnsafeInput, MixSaturatesAtFullScale) {
  OfflineMixer mixer(kRate);
  for (int i = 0; i < 9; ++i) mixer.add(0.0f, 1000.0f, 1.0f);
  mixer.skip(kRate / 10);
  const auto x = mixer.render(kRate / 10);
  const double start = static_cast<double>(kRate / 10);
  int at_full_scale = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const double sum = 9.0 * std::sin(2.0 * M_PI * std::fmod((start + static_cast<double>(i)) * 1000.0, kRate) / kRate);
    const double expected = std::clamp(sum, -1.0, 1.0);
    ASSERT_NEAR(x[i], expected, 1e-6) << "sample " << i;
    if (std::abs(x[i]) == 1.0) ++at_full_scale;
  }
  EXPECT_GT(at_full_scale, static_cast<int>(x.size()) / 2);
}

}  // namespace
}  // namespace raziz::test
