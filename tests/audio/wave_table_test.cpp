// Harmonic counts and table sizes of the band-limited tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audio/mixer/wave_table.h"

namespace raziz::test {

using namespace raziz::mixer;
namespace {

TEST(WaveTable, HarmonicsStayStrictlyBelowNyquist) {
  const struct {
    double rate;
    int sample_rate;
    int harmonics;
  } cases[] = {
      {1000.0, 48000, 23}, {500.0, 48000, 47},  {3150.0, 48000, 7},  {20.0, 48000, 1199}, {12000.0, 48000, 1},
      {23999.0, 48000, 1}, {24000.0, 48000, 0}, {30000.0, 48000, 0}, {0.0, 48000, 0},     {-5.0, 48000, 0},
      {NAN, 48000, 0},     {1000.0, 44100, 22}, {8000.0, 48000, 2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(harmonics_below_nyquist(c.rate, c.sample_rate), c.harmonics) << c.rate << " Hz at " << c.sample_rate;
}

TEST(WaveTable, TableHarmonicsAreExactUpTo64ThenAtMost2PercentShort) {
  int previous = 0;
  for (int n = 1; n <= 5000; ++n) {
    const int t = table_harmonics(n);
    EXPECT_LE(t, std::min(n, kMaxTableHarmonics));
    EXPECT_GE(t, previous);
    if (n <= 64) { EXPECT_EQ(t, n); }
    if (n <= kMaxTableHarmonics) { EXPECT_GE(t * 1.0201, n) << n; }
    previous = t;
  }
}

TEST(WaveTable, TablesPeakAtOneAndWrapAround) {
  for (Shape shape : {Shape::square, Shape::triangle}) {
    for (int harmonics : {1, 7, 47, 1199}) {
      const auto table = build_wave_table(shape, harmonics);
      ASSERT_EQ(table->data.size(), static_cast<std::size_t>(table->size) + 2);
      EXPECT_GE(table->size, 4 * harmonics);
      double peak = 0.0;
      for (int j = 0; j < table->size; ++j) peak = std::max(peak, std::abs(static_cast<double>(table->data[j])));
      EXPECT_NEAR(peak, 1.0, 2e-3) << harmonics;
      EXPECT_EQ(table->data[table->size], table->data[0]);
      EXPECT_EQ(table->data[table->size + 1], table->data[1]);
    }
  }
}

}  // namespace
}  // namespace raziz::test
