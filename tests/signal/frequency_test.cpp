// Frequency and phase: the oscillator runs at exactly the rate it was given, for ten minutes, and a
// change of rate keeps the phase continuous.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/signal/analysis.h"
#include "tests/signal/offline_mixer.h"

namespace raziz::test {
namespace {

struct FrequencyCase {
  const char* name;
  float waveform;
  float hz;
};

class TenMinutes : public ::testing::TestWithParam<FrequencyCase> {};

// The phase of the tone, measured against an exact reference at the nominal rate over one second at
// the start and one second ten minutes later, moves by 2 pi f e T for a relative error e.
TEST_P(TenMinutes, RelativeFrequencyErrorAtMost1e9) {
  const FrequencyCase c = GetParam();
  constexpr int kRate = 48000;
  constexpr int kWindow = kRate;
  constexpr double kSpan = 600.0;
  OfflineMixer mixer(kRate);
  mixer.add(c.waveform, c.hz, 0.5f);
  const auto window = kaiser_window(kWindow);

  const int first_start = kRate;  // past the fade-in
  mixer.skip(first_start);
  const auto first = mixer.render(kWindow);
  const int second_start = first_start + static_cast<int>(kSpan) * kRate;
  mixer.skip(second_start - first_start - kWindow);
  const auto second = mixer.render(kWindow);

  const Component a = component_at(first, window, c.hz, kRate, first_start);
  const Component b = component_at(second, window, c.hz, kRate, second_start);
  double drift = b.phase - a.phase;
  drift = std::remainder(drift, 2.0 * std::numbers::pi);
  const double relative_error = drift / (2.0 * std::numbers::pi * c.hz * kSpan);
  RecordProperty("relative_error", std::to_string(relative_error));
  std::printf("%s: relative frequency error over 10 min %.3g (phase drift %.3g rad)\n", c.name, relative_error, drift);
  EXPECT_LE(std::abs(relative_error), 1e-9);
  // The fundamental is as strong at the end as at the start, so the rate did not wander meanwhile.
  EXPECT_NEAR(b.amplitude / a.amplitude, 1.0, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Oscillator, TenMinutes,
    ::testing::Values(FrequencyCase{"sine_1000", 0.0f, 1000.0f}, FrequencyCase{"sine_997_3", 0.0f, 997.3f},
                      FrequencyCase{"sine_20", 0.0f, 20.0f}, FrequencyCase{"sine_23000", 0.0f, 23000.0f},
                      FrequencyCase{"square_3150", 1.0f, 3150.0f}, FrequencyCase{"triangle_630", 4.0f, 630.0f}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

// Rate changes between blocks: the output must follow a phase that accumulates each rate in turn.
TEST(RateChange, PhaseStaysContinuous) {
  constexpr int kRate = 48000;
  OfflineMixer mixer(kRate);
  const Tone tone = mixer.add(0.0f, 1000.0f, 0.9f);
  mixer.skip(2 * mixer::kBlockFrames);  // one held block, one of fade-in: now at full level
  double phase = 2.0 * mixer::kBlockFrames * 1000.0 / kRate;
  double max_error = 0.0;
  const float rates[] = {1000.0f, 1250.0f, 997.3f, 3150.0f, 20.0f, 1000.0f};
  for (float hz : rates) {
    ASSERT_EQ(mixer::DSP_SetParameter(tone.dsp, mixer::OSCILLATOR_RATE, hz), mixer::RESULT_OK);
    const auto x = mixer.render(3 * mixer::kBlockFrames + 17);  // odd lengths: changes land anywhere
    for (std::size_t i = 0; i < x.size(); ++i) {
      const double expected = 0.9 * std::sin(2.0 * std::numbers::pi * (phase + static_cast<double>(i) * hz / kRate));
      max_error = std::max(max_error, std::abs(x[i] - expected));
    }
    phase += static_cast<double>(x.size()) * hz / kRate;
    phase -= std::floor(phase);
  }
  std::printf("largest departure from the continuous-phase reference: %.3g\n", max_error);
  EXPECT_LT(max_error, 2e-7);  // float rounding of a 0.9 sine is 3e-8; any phase jump is far larger
}

}  // namespace
}  // namespace raziz::test
