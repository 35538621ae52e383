// An hour of sound, rendered offline at 48 kHz as the device would take it, with the rate, level, waveform and
// mute of the tone changing every minute or so. At the end of every five minutes the tone is a sine again and
// its phase and amplitude are measured by a least-squares fit: the phase must have advanced by exactly the
// cycles the rates asked for (a frequency error under 1e-9, and no phase jump at any change), the amplitude
// must be the level. Nothing the renderer keeps may have become a subnormal number: those are what make a
// block slow after a long run (the time per block itself is measured in bench/robustness).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "audio/mixer/mixer.h"
#include "audio/mixer/system_state.h"

namespace raziz::test {
namespace {

namespace mx = mixer;

constexpr int kRate = 48000;
constexpr long kMinute = 60L * kRate / mx::kBlockFrames;  // 11250 blocks: every time below is whole blocks
constexpr int kWindow = 4800;                             // 0.1 s fitted at each checkpoint
constexpr long kChunkBlocks = 200;

struct Fit {
  double phase = 0.0;  // cycles, in [0, 1)
  double amplitude = 0.0;
};

// x[n] = A sin(2 pi (f n / rate + phase)), solved for A and phase through its sine and cosine parts.
Fit FitSine(const std::vector<double>& x, double hz) {
  double ss = 0, sc = 0, cc = 0, xs = 0, xc = 0;
  for (std::size_t n = 0; n < x.size(); ++n) {
    const double angle = 2 * std::numbers::pi * hz * static_cast<double>(n) / kRate;
    const double s = std::sin(angle), c = std::cos(angle);
    ss += s * s;
    sc += s * c;
    cc += c * c;
    xs += x[n] * s;
    xc += x[n] * c;
  }
  const double det = ss * cc - sc * sc;
  const double a = (xs * cc - xc * sc) / det;  // A cos(2 pi phase)
  const double b = (xc * ss - xs * sc) / det;  // A sin(2 pi phase)
  Fit fit;
  fit.amplitude = std::hypot(a, b);
  fit.phase = std::atan2(b, a) / (2 * std::numbers::pi);
  if (fit.phase < 0) fit.phase += 1;
  return fit;
}

bool Subnormal(double v) { return std::fpclassify(v) == FP_SUBNORMAL; }

class HourOfSound : public ::testing::Test {
 protected:
  void SetUp() override {
    mx::System_Create(&system_);
    mx::System_SetSoftwareFormat(system_, kRate);
    mx::System_Init(system_, 4, mx::INIT_OFFLINE, nullptr);
    mx::System_CreateDSPByType(system_, mx::DSP_TYPE_OSCILLATOR, &dsp_);
    mx::System_PlayDSP(system_, -1, dsp_, false, &channel_);
    buffer_.resize(2 * kChunkBlocks * mx::kBlockFrames);
  }
  void TearDown() override {
    mx::DSP_Release(dsp_);
    mx::System_Close(system_);
    mx::System_Release(system_);
  }

  // Renders whole blocks; keeps the left channel of the last `keep` frames.
  std::vector<double> Render(long blocks, int keep = 0) {
    std::vector<double> kept;
    long left = blocks;
    while (left > 0) {
      const long now = std::min(left, kChunkBlocks);
      const int frames = static_cast<int>(now * mx::kBlockFrames);
      mx::System_Render(system_, buffer_.data(), frames);
      for (int i = 0; i < 2 * frames; ++i) subnormal_output_ += Subnormal(buffer_[i]);
      const long frames_after = (left - now) * mx::kBlockFrames;
      for (int i = 0; i < frames; ++i)
        if (frames_after + (frames - i) <= keep) kept.push_back(buffer_[2 * i]);
      left -= now;
    }
    frames_ += blocks * mx::kBlockFrames;
    return kept;
  }

  // Renders `blocks` at `hz`, counting the cycles they should hold.
  std::vector<double> RenderAt(double hz, long blocks, int keep = 0) {
    cycles_ += static_cast<long double>(hz) * (blocks * mx::kBlockFrames) / kRate;
    return Render(blocks, keep);
  }

  mx::System* system_ = nullptr;
  mx::DSP* dsp_ = nullptr;
  mx::Channel* channel_ = nullptr;
  std::vector<float> buffer_;
  long frames_ = 0;
  long double cycles_ = 0;  // cycles the rates asked for since the start
  long subnormal_output_ = 0;
};

TEST_F(HourOfSound, FrequencyStaysExactAndNothingTurnsSubnormal) {
  // Twelve five-minute segments; the rates are exact in single precision, as the field hands them over.
  const float rates[] = {1000.0f, 997.5f,   3150.0f,  20.125f, 440.0f, 12345.5f,
                         500.0f,  2500.25f, 19999.5f, 630.0f,  1.5f,   7919.0f};
  const float levels[] = {0.2f, 0.5f, 1.0f, 0.8f, 0.0625f, 0.3f, 1.5f, 0.25f, 0.9f, 0.7f, 0.45f, 0.2f};
  const long minute = kMinute;
  const long window_blocks = (kWindow + mx::kBlockFrames - 1) / mx::kBlockFrames;

  long double first_cycles = 0;
  double first_phase = 0;
  double worst_jump = 0, worst_relative = 0;
  for (int segment = 0; segment < 12; ++segment) {
    const double hz = rates[segment];
    mx::DSP_SetParameter(dsp_, mx::OSCILLATOR_TYPE, mx::WAVE_SINE);
    mx::DSP_SetParameter(dsp_, mx::OSCILLATOR_RATE, rates[segment]);
    mx::Channel_SetVolume(channel_, 0.2f);
    RenderAt(hz, minute);
    mx::Channel_SetVolume(channel_, levels[segment]);
    RenderAt(hz, minute);
    mx::DSP_SetParameter(dsp_, mx::OSCILLATOR_TYPE, mx::WAVE_SQUARE);
    RenderAt(hz, minute);
    mx::DSP_SetParameter(dsp_, mx::OSCILLATOR_TYPE, mx::WAVE_TRIANGLE);
    RenderAt(hz, minute / 3);
    mx::Channel_SetMute(channel_, true);
    RenderAt(hz, minute / 6);
    mx::Channel_SetMute(channel_, false);
    // A level that is itself subnormal in single precision: the output must flush it, not carry it.
    mx::Channel_SetVolume(channel_, 1e-39f);
    RenderAt(hz, minute / 3);
    mx::Channel_SetVolume(channel_, levels[segment]);
    RenderAt(hz, minute / 6);
    mx::DSP_SetParameter(dsp_, mx::OSCILLATOR_TYPE, mx::WAVE_SINE);
    RenderAt(hz, minute - window_blocks);
    const long double cycles_at_window =
        cycles_ + static_cast<long double>(hz) * (window_blocks * mx::kBlockFrames - kWindow) / kRate;
    const Fit fit = FitSine(RenderAt(hz, window_blocks, kWindow), hz);

    const double expected_amplitude = std::fmin(levels[segment], 1.0f);
    EXPECT_NEAR(fit.amplitude, expected_amplitude, 1e-6 * expected_amplitude) << "segment " << segment;
    if (segment == 0) {
      first_cycles = cycles_at_window;
      first_phase = fit.phase;
      continue;
    }
    const long double asked = cycles_at_window - first_cycles;
    double error = fit.phase - first_phase - static_cast<double>(asked - std::floor(asked));
    error -= std::round(error);  // the phase error in cycles, in [-0.5, 0.5]
    worst_jump = std::fmax(worst_jump, std::fabs(error));
    worst_relative = std::fmax(worst_relative, std::fabs(error) / static_cast<double>(asked));
    EXPECT_LT(std::fabs(error) / static_cast<double>(asked), 1e-9) << "segment " << segment;
    EXPECT_LT(std::fabs(error), 1e-6) << "the phase jumped by " << error << " cycles in segment " << segment;
  }
  EXPECT_EQ(frames_, 3600L * kRate);
  EXPECT_EQ(subnormal_output_, 0);
  std::printf("an hour of sound: %.6Lf cycles; worst phase error %.3g cycles, worst frequency error %.3g\n", cycles_,
              worst_jump, worst_relative);

  const mx::ChannelRender& state = channel_->render;
  EXPECT_FALSE(Subnormal(state.phase) || Subnormal(state.gain.start()) || Subnormal(state.gain.target()) ||
               Subnormal(state.voice.increment) || Subnormal(state.next.increment));
  for (const std::vector<double>* buffer : {&system_->mix, &system_->scratch_a, &system_->scratch_b})
    for (double v : *buffer) EXPECT_FALSE(Subnormal(v));
}

}  // namespace
}  // namespace raziz::test
