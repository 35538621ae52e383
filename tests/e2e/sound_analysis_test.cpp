// The end-to-end checks are only as good as the analysis they rest on: a detector that misses a
// cut, or finds one in a clean fade, would make those tests lie.
#include "tests/e2e/sound_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using raziz::e2e::analyse_tones;
using raziz::e2e::find_clicks;

namespace raziz::test {
namespace {

constexpr double kRate = 48000;

std::vector<float> sine(double freq, double amp, double seconds, double phase = 0.3) {
  std::vector<float> x(static_cast<std::size_t>(seconds * kRate));
  for (std::size_t i = 0; i < x.size(); ++i)
    x[i] = static_cast<float>(amp * std::sin(2 * std::numbers::pi * freq * static_cast<double>(i) / kRate + phase));
  return x;
}

// Raised-cosine gain from 0 to 1 over `ms`, as the mixer ramps mutes and fades.
double ramp(double t_ms, double ms) {
  if (t_ms <= 0) return 0;
  if (t_ms >= ms) return 1;
  return 0.5 - 0.5 * std::cos(std::numbers::pi * t_ms / ms);
}

}  // namespace

TEST(ToneAnalysis, FindsEachToneWithItsFrequencyAndLevel) {
  struct Case {
    std::vector<std::pair<double, double>> tones;  // Hz, amplitude
  };
  const Case cases[] = {
      {{{1000, 0.2}}},
      {{{750, 0.5}, {1000, 0.2}}},
      {{{500, 0.1}, {1250, 0.1}, {3150, 0.9}}},
      {{{1237.3, 0.01}}},
  };
  for (const auto& c : cases) {
    std::vector<float> mix(static_cast<std::size_t>(0.2 * kRate), 0.0f);
    for (auto [f, a] : c.tones) {
      const auto s = sine(f, a, 0.2);
      for (std::size_t i = 0; i < mix.size(); ++i) mix[i] += s[i];
    }
    const auto spectrum = analyse_tones(mix.data(), mix.size(), kRate);
    ASSERT_EQ(spectrum.tones.size(), c.tones.size());
    for (auto [f, a] : c.tones) {
      bool found = false;
      for (const auto& t : spectrum.tones)
        if (std::fabs(t.freq_hz - f) < 0.2) {
          found = true;
          EXPECT_NEAR(20 * std::log10(t.amplitude / a), 0.0, 0.1) << f << " Hz";
        }
      EXPECT_TRUE(found) << f << " Hz missing";
    }
  }
}

TEST(ToneAnalysis, SilenceHasNoTones) {
  const std::vector<float> zeros(9600, 0.0f);
  const auto spectrum = analyse_tones(zeros.data(), zeros.size(), kRate);
  EXPECT_TRUE(spectrum.tones.empty());
  EXPECT_EQ(spectrum.rms, 0.0);
}

TEST(ClickDetector, CleanRampsAndSteadyTonesGiveNone) {
  // A square-like mix (odd harmonics up to near Nyquist) faded in and out over 5 ms.
  std::vector<float> x(static_cast<std::size_t>(0.3 * kRate), 0.0f);
  for (int h = 1; h * 1000 < 23000; h += 2) {
    const auto s = sine(1000.0 * h, 0.5 / h, 0.3);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] += s[i];
  }
  for (std::size_t i = 0; i < x.size(); ++i) {
    const double t_ms = static_cast<double>(i) * 1000 / kRate;
    x[i] = static_cast<float>(x[i] * ramp(t_ms - 50, 5) * (1 - ramp(t_ms - 200, 5)));
  }
  EXPECT_TRUE(find_clicks(x.data(), x.size(), kRate).empty());
}

TEST(ClickDetector, FindsCutsAndGaps) {
  struct Case {
    const char* what;
    double freq;
    std::size_t cut_from, cut_to;  // samples forced to zero
  };
  const Case cases[] = {
      {"tone stopped dead", 1000, 4800, 9600},
      {"tone stopped near a zero crossing", 500, 4800, 9600},
      {"one dropped buffer", 3150, 4000, 4256},
      {"a single lost sample", 2000, 5000, 5001},
  };
  for (const auto& c : cases) {
    auto x = sine(c.freq, 0.3, 0.2, c.freq == 500 ? 0.0 : 0.3);
    for (std::size_t i = c.cut_from; i < c.cut_to; ++i) x[i] = 0;
    const auto clicks = find_clicks(x.data(), x.size(), kRate);
    ASSERT_FALSE(clicks.empty()) << c.what;
    EXPECT_NEAR(static_cast<double>(clicks.front().frame), static_cast<double>(c.cut_from), 48) << c.what;
  }
}

TEST(Ending, TellsAFadeFromACut) {
  auto faded = sine(500, 0.2, 0.2);
  auto cut = faded;
  for (std::size_t i = 0; i < faded.size(); ++i) {
    const double t_ms = static_cast<double>(i) * 1000 / kRate;
    faded[i] = static_cast<float>(faded[i] * (1 - ramp(t_ms - 100, 5)));
    if (t_ms >= 100) cut[i] = 0;
  }
  const auto f = raziz::e2e::find_ending(faded.data(), faded.size(), kRate);
  const auto c = raziz::e2e::find_ending(cut.data(), cut.size(), kRate);
  ASSERT_TRUE(f.found && c.found);
  EXPECT_LT(f.tail_peak / f.body_peak, 0.15);
  EXPECT_GT(c.tail_peak / c.body_peak, 0.7);
  EXPECT_NEAR(static_cast<double>(c.frame), 4800, 1);
}

}  // namespace raziz::test
