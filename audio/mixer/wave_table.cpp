#include "audio/mixer/wave_table.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace raziz::mixer {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double weight(Shape shape, int h) {
  if (shape == Shape::square) return 1.0 / h;
  const double sign = ((h - 1) / 2) % 2 == 0 ? 1.0 : -1.0;
  return sign / (static_cast<double>(h) * h);
}

// The ideal band-limited waveform at x cycles.
double ideal(Shape shape, int max_harmonic, double x) {
  double sum = 0.0;
  for (int h = 1; h <= max_harmonic; h += 2) sum += weight(shape, h) * std::sin(kTwoPi * h * x);
  return sum;
}

// Linear interpolation between table samples multiplies harmonic h by sinc^2(h / size).
double interpolation_gain(int h, int size) {
  const double x = std::numbers::pi * h / size;
  const double s = std::sin(x) / x;
  return s * s;
}

}  // namespace

int harmonics_below_nyquist(double rate, int sample_rate) {
  const double nyquist = sample_rate / 2.0;
  if (!(rate > 0.0) || !(rate < nyquist)) return 0;
  double n = std::ceil(nyquist / rate) - 1.0;  // n * rate < nyquist, strictly
  if (n * rate >= nyquist) n -= 1.0;
  return n > 1e9 ? 1000000000 : static_cast<int>(n);
}

int table_harmonics(int harmonics) {
  harmonics = std::min(harmonics, kMaxTableHarmonics);
  if (harmonics <= 64) return harmonics;
  int step = 64;
  for (;;) {
    const int next = std::max(step + 1, static_cast<int>(step * 1.02));
    if (next > harmonics) return step;
    step = next;
  }
}

int wave_table_size(int max_harmonic) {
  // The strongest image of harmonic h (weight 1/h at most) is about (h/size)^2 / h = h / size^2.
  const double need = std::max({256.0, 4.0 * max_harmonic, std::sqrt(max_harmonic * 4.0e5)});
  int size = 256;
  while (size < need) size *= 2;
  return size;
}

std::unique_ptr<WaveTable> build_wave_table(Shape shape, int max_harmonic) {
  auto table = std::make_unique<WaveTable>();
  const int size = wave_table_size(max_harmonic);
  table->size = size;
  table->harmonics = max_harmonic;

  std::vector<double> sine(size);
  for (int j = 0; j < size; ++j) sine[j] = std::sin(kTwoPi * j / size);

  std::vector<double> values(size, 0.0);
  int peak_at = 0;
  double peak = 0.0;
  {
    std::vector<double> plain(size, 0.0);
    for (int h = 1; h <= max_harmonic; h += 2) {
      const double w = weight(shape, h);
      const double emphasised = w / interpolation_gain(h, size);
      unsigned index = 0;
      const unsigned mask = static_cast<unsigned>(size - 1);
      for (int j = 0; j < size; ++j, index = (index + static_cast<unsigned>(h)) & mask) {
        plain[j] += w * sine[index];
        values[j] += emphasised * sine[index];
      }
    }
    for (int j = 0; j < size; ++j) {
      if (std::abs(plain[j]) > peak) {
        peak = std::abs(plain[j]);
        peak_at = j;
      }
    }
  }
  // The true peak lies between grid points: refine it on the continuous waveform.
  double lo = (peak_at - 1.0) / size, hi = (peak_at + 1.0) / size;
  const double sign = ideal(shape, max_harmonic, static_cast<double>(peak_at) / size) < 0 ? -1.0 : 1.0;
  for (int i = 0; i < 80; ++i) {
    const double a = lo + (hi - lo) / 3.0, b = hi - (hi - lo) / 3.0;
    if (sign * ideal(shape, max_harmonic, a) < sign * ideal(shape, max_harmonic, b)) lo = a;
    else hi = b;
  }
  peak = std::max(peak, std::abs(ideal(shape, max_harmonic, (lo + hi) / 2.0)));

  table->data.resize(static_cast<std::size_t>(size) + 2);
  for (int j = 0; j < size; ++j) table->data[j] = static_cast<float>(values[j] / peak);
  table->data[size] = table->data[0];
  table->data[size + 1] = table->data[1];
  return table;
}

const WaveTable* WaveTableCache::get(Shape shape, int max_harmonic) {
  auto& slot = tables_[{shape, max_harmonic}];
  if (!slot) slot = build_wave_table(shape, max_harmonic);
  return slot.get();
}

}  // namespace raziz::mixer
