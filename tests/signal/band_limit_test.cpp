// Square and triangle are band-limited: their harmonics follow the ideal series up to half the
// sample rate, and nothing else is in the spectrum.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/signal/analysis.h"
#include "tests/signal/offline_mixer.h"

namespace raziz::test {
namespace {

constexpr int kRate = 48000;

struct Shape {
  const char* name;
  float waveform;
  double exponent;  // harmonic n has amplitude 1/n^exponent relative to the fundamental
};

struct Measured {
  double worst_spur_db = -400.0;
  double worst_harmonic_error_db = 0.0;         // over harmonics stronger than -60 dB
  double worst_harmonic_deviation_db = -400.0;  // |measured - ideal| re fundamental, all harmonics
};

Measured measure(const Shape& shape, float hz) {
  OfflineMixer mixer(kRate);
  mixer.add(shape.waveform, hz, 0.9f);
  mixer.skip(kRate / 10);
  const auto x = mixer.render(kRate);
  const auto w = kaiser_window(kRate);
  const double fundamental = component_at(x, w, hz, kRate).amplitude;

  Measured m;
  const double nyquist = kRate / 2.0;
  // Harmonics in the top 2% of the band may be left out at low rates; everything below is checked.
  for (int n = 3; n * static_cast<double>(hz) < 0.98 * nyquist; n += 2) {
    const double expected = 1.0 / std::pow(n, shape.exponent);
    const double got = component_at(x, w, n * static_cast<double>(hz), kRate).amplitude / fundamental;
    // Spurs of a tone whose period is a whole number of samples fall on its own harmonics; on a
    // harmonic near -120 dB a -120 dB spur is a large relative error, so weak harmonics are held to
    // the spur bound instead.
    m.worst_harmonic_deviation_db =
        std::max(m.worst_harmonic_deviation_db, 20.0 * std::log10(std::abs(got - expected)));
    if (expected < 1e-3) continue;
    const double error_db = 20.0 * std::log10(got / expected);
    if (std::abs(error_db) > std::abs(m.worst_harmonic_error_db)) m.worst_harmonic_error_db = error_db;
  }

  // Every bin that is not within the main lobe of DC or of a harmonic below Nyquist is a spur.
  const auto p = power_spectrum(x, w);
  const double bin_hz = static_cast<double>(kRate) / kRate;
  const int guard = 12;  // bins; the Kaiser main lobe is about 7 bins to each side
  const double fundamental_power = fundamental * fundamental / 2.0;
  std::vector<bool> masked(p.size(), false);
  for (int k = 0; k <= guard; ++k) masked[k] = true;
  for (int n = 1; n * static_cast<double>(hz) < nyquist; n += 2) {
    const int centre = static_cast<int>(std::lround(n * static_cast<double>(hz) / bin_hz));
    for (int k = std::max(0, centre - guard); k <= std::min<int>(static_cast<int>(p.size()) - 1, centre + guard); ++k)
      masked[k] = true;
  }
  for (std::size_t k = 0; k < p.size(); ++k) {
    if (masked[k]) continue;
    // A spur's main lobe spreads its power over a few bins; the peak bin holds about a fifth of it.
    m.worst_spur_db = std::max(m.worst_spur_db, db(p[k] / fundamental_power));
  }
  return m;
}

class BandLimited : public ::testing::TestWithParam<Shape> {};

TEST_P(BandLimited, HarmonicsFollowTheSeriesAndNothingAliases) {
  const Shape shape = GetParam();
  for (float hz : {20.0f, 55.5f, 500.0f, 997.3f, 1000.0f, 3150.0f, 7000.0f, 11025.0f, 17000.0f, 23000.0f}) {
    const Measured m = measure(shape, hz);
    std::printf(
        "%s %.1f Hz: worst spur %.1f dB re fundamental; harmonics off by at most %.4f dB (%.1f dB re "
        "fundamental)\n",
        shape.name, hz, m.worst_spur_db, m.worst_harmonic_error_db, m.worst_harmonic_deviation_db);
    EXPECT_LE(m.worst_spur_db, -100.0) << shape.name << " at " << hz << " Hz";
    EXPECT_LE(m.worst_harmonic_deviation_db, -100.0) << shape.name << " at " << hz << " Hz";
    EXPECT_LE(std::abs(m.worst_harmonic_error_db), 0.01) << shape.name << " at " << hz << " Hz";
  }
}

INSTANTIATE_TEST_SUITE_P(Oscillator, BandLimited,
                         ::testing::Values(Shape{"square", 1.0f, 1.0}, Shape{"triangle", 4.0f, 2.0}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
}  // namespace raziz::test
