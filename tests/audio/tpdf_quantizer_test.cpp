// The 16-bit quantizer: its error must not depend on the signal (same mean and spread at any input), and a
// quiet sine must come out with no harmonic standing above the noise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "audio/device/tpdf_quantizer.h"
#include "tests/signal/analysis.h"

namespace raziz::test {
namespace {

using device::TpdfQuantizer;
constexpr double kFull = TpdfQuantizer::kFullScale;
constexpr int kRate = 48000;

std::vector<std::int16_t> dithered(const std::vector<float>& in) {
  std::vector<std::int16_t> out(in.size());
  TpdfQuantizer q;
  q.quantize(in.data(), out.data(), static_cast<int>(in.size()));
  return out;
}

// What an output without dither does; the measurements below must tell it apart.
std::vector<std::int16_t> rounded(const std::vector<float>& in) {
  std::vector<std::int16_t> out(in.size());
  for (std::size_t i = 0; i < in.size(); ++i)
    out[i] = static_cast<std::int16_t>(std::lround(static_cast<double>(in[i]) * kFull));
  return out;
}

TEST(TpdfQuantizer, ErrorHasTheSameMeanAndSpreadWhateverTheInput) {
  // Inputs in steps of the output: on a step, between steps, and at half a step where rounding alone
  // would err most; large and negative values too.
  for (double steps : {0.0, 0.25, 0.5, 0.75, -100.4, 1000.9, -20000.5}) {
    const float x = static_cast<float>(steps / kFull);
    const std::vector<float> in(100000, x);
    const auto out = dithered(in);
    double sum = 0.0, sum2 = 0.0, largest = 0.0;
    for (std::int16_t v : out) {
      const double e = v - static_cast<double>(x) * kFull;
      sum += e;
      sum2 += e * e;
      largest = std::max(largest, std::abs(e));
    }
    const double mean = sum / static_cast<double>(out.size());
    const double variance = sum2 / static_cast<double>(out.size()) - mean * mean;
    // Triangular dither of +-1 step plus rounding: mean 0, variance 1/6 + 1/12 = 1/4 step^2, never
    // beyond 1.5 steps.
    EXPECT_NEAR(mean, 0.0, 0.01) << steps << " steps";
    EXPECT_NEAR(variance, 0.25, 0.01) << steps << " steps";
    EXPECT_LT(largest, 1.5) << steps << " steps";
  }
}

TEST(TpdfQuantizer, SaturatesAtFullScaleAndSilencesNaN) {
  struct Case {
    float in;
    int low, high;
  };
  const Case cases[] = {
      {1.0f, 32766, 32767},
      {-1.0f, -32768, -32766},
      {1.5f, 32767, 32767},
      {-7.0f, -32768, -32768},
      {std::numeric_limits<float>::infinity(), 32767, 32767},
      {std::numeric_limits<float>::quiet_NaN(), 0, 0},
  };
  for (const Case& c : cases) {
    const auto out = dithered(std::vector<float>(1000, c.in));
    const auto [lo, hi] = std::minmax_element(out.begin(), out.end());
    EXPECT_GE(*lo, c.low) << c.in;
    EXPECT_LE(*hi, c.high) << c.in;
  }
}

// A 1000 Hz sine, sample-synchronous at 48 kHz: without dither its quantization error repeats every
// cycle, so all of it lands on harmonics.
std::vector<float> sine(double amplitude, int seconds) {
  std::vector<float> x(static_cast<std::size_t>(kRate) * seconds);
  for (std::size_t i = 0; i < x.size(); ++i)
    x[i] = static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * 1000.0 * static_cast<double>(i) / kRate));
  return x;
}

struct Spectrum {
  double fundamental_db = 0.0;     // amplitude re the one asked for
  double worst_harmonic_db = 0.0;  // strongest of harmonics 2..20, re the median noise between them
};

// One-second spectra averaged over the recording, so the noise estimate holds still; each component
// is the power summed over the window's main lobe.
Spectrum analyse(const std::vector<std::int16_t>& q, double amplitude) {
  const auto w = kaiser_window(kRate);
  std::vector<double> mean(kRate / 2 + 1, 0.0);
  const std::size_t blocks = q.size() / kRate;
  for (std::size_t b = 0; b < blocks; ++b) {
    std::vector<double> x(kRate);
    for (int i = 0; i < kRate; ++i) x[i] = q[b * kRate + i] / kFull;
    const auto p = power_spectrum(x, w);
    for (std::size_t k = 0; k < p.size(); ++k) mean[k] += p[k] / static_cast<double>(blocks);
  }
  auto lobe = [&](int bin) {
    double sum = 0.0;
    for (int k = bin - 8; k <= bin + 8; ++k) sum += mean[k];
    return sum;
  };
  std::vector<double> noise;
  for (int h = 1; h <= 20; ++h) noise.push_back(lobe(h * 1000 + 500));
  std::nth_element(noise.begin(), noise.begin() + noise.size() / 2, noise.end());
  const double floor = noise[noise.size() / 2] + 1e-300;
  Spectrum s;
  s.fundamental_db = 10.0 * std::log10(lobe(1000) / (amplitude * amplitude / 2.0));
  s.worst_harmonic_db = -std::numeric_limits<double>::infinity();
  for (int h = 2; h <= 20; ++h)
    s.worst_harmonic_db = std::max(s.worst_harmonic_db, 10.0 * std::log10(lobe(h * 1000) / floor));
  return s;
}

TEST(TpdfQuantizer, QuietSineGainsNoHarmonicAboveTheNoise) {
  struct Case {
    std::string name;
    std::function<std::vector<std::int16_t>(const std::vector<float>&)> quantize;
    bool harmonics_expected;
  };
  const Case cases[] = {
      {"dithered", dithered, false},
      {"rounded", rounded, true},  // shows that the measurement sees harmonics where they are
  };
  // Level 0.025 (the slider's fifth step) and a sine only three steps high.
  for (double amplitude : {0.025, 3.0 / kFull}) {
    const auto in = sine(amplitude, 10);
    for (const Case& c : cases) {
      const Spectrum s = analyse(c.quantize(in), amplitude);
      std::printf("%s sine at %.6f: fundamental %+.3f dB, worst harmonic %+.1f dB re noise\n", c.name.c_str(),
                  amplitude, s.fundamental_db, s.worst_harmonic_db);
      if (c.harmonics_expected) {
        EXPECT_GT(s.worst_harmonic_db, 20.0) << c.name << " at " << amplitude;
      } else {
        EXPECT_LT(s.worst_harmonic_db, 6.0) << c.name << " at " << amplitude;
        EXPECT_NEAR(s.fundamental_db, 0.0, amplitude > 0.01 ? 0.01 : 0.5) << c.name << " at " << amplitude;
      }
    }
  }
}

}  // namespace
}  // namespace raziz::test
