// Sine purity and level: THD+N on the float output, and volume v giving a peak of v.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/signal/analysis.h"
#include "tests/signal/offline_mixer.h"

namespace raziz::test {
namespace {

constexpr int kRate = 48000;

std::vector<double> steady_tone(float waveform, float hz, float volume, int frames) {
  OfflineMixer mixer(kRate);
  mixer.add(waveform, hz, volume);
  mixer.skip(kRate / 10);
  return mixer.render(frames);
}

// Everything that is not the fitted sinusoid counts: harmonics, noise, spurs and DC.
TEST(SinePurity, ThdPlusNoiseAtVolume09IsBelowMinus140dB) {
  for (float hz : {1000.0f, 997.3f, 20.0f, 3150.0f, 15000.0f, 23900.0f}) {
    const auto x = steady_tone(0.0f, hz, 0.9f, kRate);
    const SineFit fit = fit_sine(x, hz, kRate);
    const double thdn = db(fit.residual_rms * fit.residual_rms / (fit.amplitude * fit.amplitude / 2.0));
    std::printf("sine %.1f Hz at 0.9: THD+N %.1f dB\n", hz, thdn);
    EXPECT_LE(thdn, -140.0) << hz << " Hz";
    EXPECT_NEAR(fit.dc, 0.0, 1e-9) << hz << " Hz";
  }
}

TEST(Level, SinePeakAndRmsFollowTheVolume) {
  for (float volume : {1.0f, 0.9f, 0.5f, 0.2f, 0.001f}) {
    // 1000 Hz at 48 kHz: 48 samples a cycle, so one second holds whole cycles and hits the peaks.
    const auto x = steady_tone(0.0f, 1000.0f, volume, kRate);
    double peak = 0.0, sum2 = 0.0;
    for (double v : x) {
      peak = std::max(peak, std::abs(v));
      sum2 += v * v;
    }
    const double rms = std::sqrt(sum2 / static_cast<double>(x.size()));
    const double rms_error_db = 20.0 * std::log10(rms / (volume / std::sqrt(2.0)));
    std::printf("volume %g: peak %.9g, RMS off by %.2e dB\n", volume, peak, rms_error_db);
    EXPECT_NEAR(peak, volume, volume * 1e-6);
    EXPECT_LE(std::abs(rms_error_db), 0.01);
  }
}

TEST(Level, SquareAndTrianglePeakAtTheVolume) {
  for (float waveform : {1.0f, 4.0f}) {
    for (float hz : {500.0f, 1000.0f, 3150.0f, 55.0f}) {
      const auto x = steady_tone(waveform, hz, 0.5f, kRate);
      double peak = 0.0;
      for (double v : x) peak = std::max(peak, std::abs(v));
      EXPECT_NEAR(peak, 0.5, 0.5 * 2e-3) << "waveform " << waveform << " at " << hz << " Hz";
    }
  }
}

}  // namespace
}  // namespace raziz::test
