#include "tests/e2e/sound_analysis.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace raziz::e2e {

namespace {

// 4-term Blackman-Harris: side lobes at -92 dB, so a loud tone never hides a quiet neighbour
// a few hundred hertz away, and never shows ghost peaks above our floor.
std::vector<double> blackman_harris(std::size_t n) {
  std::vector<double> w(n);
  const double a0 = 0.35875, a1 = 0.48829, a2 = 0.14128, a3 = 0.01168;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = 2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n - 1);
    w[i] = a0 - a1 * std::cos(t) + a2 * std::cos(2 * t) - a3 * std::cos(3 * t);
  }
  return w;
}

}  // namespace

Spectrum analyse_tones(const float* samples, std::size_t count, double rate, double floor_db) {
  Spectrum out{0.0, {}};
  if (count < 16) return out;
  double sum_sq = 0;
  for (std::size_t i = 0; i < count; ++i) sum_sq += static_cast<double>(samples[i]) * samples[i];
  out.rms = std::sqrt(sum_sq / static_cast<double>(count));

  // Zero-padding by four keeps the scalloping error of the level well under 0.1 dB.
  const std::size_t n = count * 4;
  const auto window = blackman_harris(count);
  double window_sum = 0;
  for (double w : window) window_sum += w;

  double* in = fftw_alloc_real(n);
  fftw_complex* spectrum = fftw_alloc_complex(n / 2 + 1);
  fftw_plan plan = fftw_plan_dft_r2c_1d(static_cast<int>(n), in, spectrum, FFTW_ESTIMATE);
  for (std::size_t i = 0; i < n; ++i) in[i] = i < count ? samples[i] * window[i] : 0.0;
  fftw_execute(plan);

  const std::size_t bins = n / 2 + 1;
  std::vector<double> mag(bins);
  for (std::size_t k = 0; k < bins; ++k) mag[k] = 2.0 * std::hypot(spectrum[k][0], spectrum[k][1]) / window_sum;
  fftw_destroy_plan(plan);
  fftw_free(in);
  fftw_free(spectrum);

  const double floor = std::pow(10.0, floor_db / 20.0);
  const double bin_hz = rate / static_cast<double>(n);
  for (std::size_t k = 2; k + 2 < bins; ++k) {
    if (mag[k] < floor || mag[k] < mag[k - 1] || mag[k] <= mag[k + 1]) continue;
    const double a = std::log(mag[k - 1]), b = std::log(mag[k]), c = std::log(mag[k + 1]);
    const double denom = a - 2 * b + c;
    const double shift = denom != 0 ? 0.5 * (a - c) / denom : 0.0;
    out.tones.push_back({(static_cast<double>(k) + shift) * bin_hz, std::exp(b - 0.25 * (a - c) * shift)});
  }
  std::sort(out.tones.begin(), out.tones.end(), [](const Tone& x, const Tone& y) { return x.amplitude > y.amplitude; });
  return out;
}

std::vector<Click> find_clicks(const float* samples, std::size_t count, double rate) {
  std::vector<Click> clicks;
  const std::size_t block = std::max<std::size_t>(1, static_cast<std::size_t>(rate * 0.0005));
  if (count < 5) return clicks;

  std::vector<double> peak((count + block - 1) / block, 0.0);
  for (std::size_t i = 4; i < count; ++i) {
    const double d4 = static_cast<double>(samples[i]) - 4.0 * samples[i - 1] + 6.0 * samples[i - 2] -
                      4.0 * samples[i - 3] + samples[i - 4];
    peak[i / block] = std::max(peak[i / block], std::fabs(d4));
  }

  // A block stands out when it is far above the blocks 1 to 20 ms around it. The upper quartile of
  // those is the yardstick: a steady tone, or a ramp of a few milliseconds into or out of one, stays
  // within a small factor of it, and two clicks close together do not hide each other.
  const std::ptrdiff_t near = 2, far = static_cast<std::ptrdiff_t>(0.020 * rate / static_cast<double>(block));
  const double noise_floor = 1e-5, factor = 8.0;
  const auto blocks = static_cast<std::ptrdiff_t>(peak.size());
  std::vector<double> around;
  bool in_click = false;
  for (std::ptrdiff_t i = 0; i < blocks; ++i) {
    around.clear();
    for (std::ptrdiff_t j = std::max<std::ptrdiff_t>(0, i - far); j <= std::min(blocks - 1, i + far); ++j)
      if (std::abs(j - i) > near) around.push_back(peak[j]);
    double yardstick = 0;
    if (!around.empty()) {
      const auto q = around.begin() + static_cast<std::ptrdiff_t>(around.size() * 3 / 4);
      std::nth_element(around.begin(), q, around.end());
      yardstick = *q;
    }
    const bool stands_out = peak[i] > noise_floor && peak[i] > factor * yardstick;
    if (stands_out && !in_click)
      clicks.push_back({static_cast<std::size_t>(i) * block, yardstick > 0 ? peak[i] / yardstick : 1e9});
    in_click = stands_out;
  }
  return clicks;
}

Ending find_ending(const float* samples, std::size_t count, double rate) {
  Ending e;
  std::size_t end = count;
  while (end > 0 && samples[end - 1] == 0.0f) --end;
  if (end == 0 || end == count) return e;  // never sounded, or still sounding
  e.found = true;
  e.frame = end;
  const auto tail = static_cast<std::size_t>(0.001 * rate), body = static_cast<std::size_t>(0.040 * rate);
  for (std::size_t i = end > tail ? end - tail : 0; i < end; ++i)
    e.tail_peak = std::max(e.tail_peak, std::fabs(double(samples[i])));
  const std::size_t body_end = end > tail ? end - tail : 0;
  for (std::size_t i = body_end > body ? body_end - body : 0; i < body_end; ++i)
    e.body_peak = std::max(e.body_peak, std::fabs(double(samples[i])));
  return e;
}

}  // namespace raziz::e2e
