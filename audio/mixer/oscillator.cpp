#include "audio/mixer/oscillator.h"

#include <cmath>
#include <numbers>

namespace raziz::mixer {
namespace {

// Adding and subtracting 1.5 * 2^52 rounds a double to the nearest integer without a library call,
// which keeps the loops below free of calls and lets them vectorise.
constexpr double kRoundMagic = 6755399441055744.0;

inline double nearest_integer(double x) { return (x + kRoundMagic) - kRoundMagic; }

}  // namespace

double wrap_phase(double phase) {
  const double r = phase - std::floor(phase);
  return r < 1.0 ? r : 0.0;
}

void render_sine(double phase, double increment, int frames, double* out) {
  constexpr double two_pi = 2.0 * std::numbers::pi;
  for (int i = 0; i < frames; ++i) {
    const double p = phase + i * increment;
    const double r = p - nearest_integer(p);                        // [-0.5, 0.5]
    // Fold into [-0.25, 0.25]: sin(pi - x) = sin(x).
    const double a = r > 0.25 ? 0.5 - r : (r < -0.25 ? -0.5 - r : r);
    const double x = two_pi * a;                                     // [-pi/2, pi/2]
    const double x2 = x * x;
    // Taylor series to x^15: the first omitted term is below 7e-12 on this range.
    double s = -1.0 / 1307674368000.0;
    s = s * x2 + 1.0 / 6227020800.0;
    s = s * x2 - 1.0 / 39916800.0;
    s = s * x2 + 1.0 / 362880.0;
    s = s * x2 - 1.0 / 5040.0;
    s = s * x2 + 1.0 / 120.0;
    s = s * x2 - 1.0 / 6.0;
    s = s * x2 + 1.0;
    out[i] = s * x;
  }
}

void render_table(const WaveTable& table, double phase, double increment, int frames, double* out) {
  const float* data = table.data.data();
  const double size = table.size;
  for (int i = 0; i < frames; ++i) {
    const double p = phase + i * increment;
    double r = p - nearest_integer(p);                               // [-0.5, 0.5]
    r += r < 0.0 ? 1.0 : 0.0;                                        // [0, 1]
    const double x = r * size;
    const int j = static_cast<int>(x);
    const double t = x - j;
    const double a = data[j];
    out[i] = a + t * (data[j + 1] - a);
  }
}

void render_voice(const Voice& voice, double phase, double increment, int frames, double* out) {
  switch (voice.kind) {
    case VoiceKind::sine:
      render_sine(phase, increment, frames, out);
      return;
    case VoiceKind::table:
      render_table(*voice.table, phase, increment, frames, out);
      return;
    case VoiceKind::silent:
      break;
  }
  for (int i = 0; i < frames; ++i) out[i] = 0.0;
}

}  // namespace raziz::mixer
