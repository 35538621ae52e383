#pragma once
// Band-limited single-cycle tables for the square and triangle oscillators. A table holds exactly
// the odd harmonics up to a given number, so a tone played from it has no component above half the
// sample rate and nothing folds back; tables are immutable once built and shared by every
// oscillator that needs the same harmonic count.
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace raziz::mixer {

enum class Shape { square, triangle };

struct WaveTable {
  int size = 0;             // samples per cycle, a power of two
  int harmonics = 0;        // highest harmonic number present
  std::vector<float> data;  // size + 2 samples: the last two repeat the first two
};

// The highest harmonic number h with h * rate below half the sample rate (0 when the rate is not
// positive or is at or above half the sample rate).
int harmonics_below_nyquist(double rate, int sample_rate);

// The harmonic count a table is built for: exact up to 64, then a ladder about 2% apart (so a
// tone's top 2% of the band may lack its last harmonics), and never above kMaxTableHarmonics.
inline constexpr int kMaxTableHarmonics = 2048;
int table_harmonics(int harmonics);

// Builds the cycle of the shape with every odd harmonic up to max_harmonic at its ideal weight
// (square 1/n, triangle +-1/n^2), scaled so the continuous waveform peaks at exactly 1. The
// weights are pre-emphasised for the droop of linear interpolation, so a linearly interpolated
// read gives the ideal harmonic amplitudes.
std::unique_ptr<WaveTable> build_wave_table(Shape shape, int max_harmonic);

// The table size used for a harmonic count: large enough that the images of linear interpolation
// stay below -110 dB relative to the fundamental.
int wave_table_size(int max_harmonic);

// Owned by a system; used on the calling thread only. Tables live until the cache is destroyed.
class WaveTableCache {
 public:
  const WaveTable* get(Shape shape, int max_harmonic);

 private:
  std::map<std::pair<Shape, int>, std::unique_ptr<WaveTable>> tables_;
};

}  // namespace raziz::mixer
