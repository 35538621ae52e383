#include "audio/mixer/oscillator.h"

#include <cmath>
#include <numbers>

namespace raziz::mixer {

// On x86-64 Linux the two inner loops also get an AVX2/FMA build, picked at load time on CPUs that
// have it; elsewhere they are plain SSE2.
#if defined(__x86_64__) && defined(__linux__) && defined(__GNUC__)
#define RAZIZ_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define RAZIZ_VECTOR_CLONES
#endif

double wrap_phase(double phase) {
  const double r = phase - std::floor(phase);
  return r < 1.0 ? r : 0.0;
}

RAZIZ_VECTOR_CLONES void render_sine(double phase, double increment, int frames, double* out) {
  // Four rotating phasors, one for each of four consecutive samples, each turned by four samples'
  // angle per step: four multiplications a sample with independent chains, which vectorise. Every
  // block starts afresh from the exact phase, so rounding cannot build up beyond a block (~1e-14).
  constexpr double two_pi = 2.0 * std::numbers::pi;
  const double step = two_pi * increment;
  const double c1 = std::cos(step), s1 = std::sin(step);
  const double c2 = c1 * c1 - s1 * s1, s2 = 2.0 * s1 * c1;
  const double c4 = c2 * c2 - s2 * s2, s4 = 2.0 * s2 * c2;
  const double start = two_pi * wrap_phase(phase);
  double re[4], im[4];
  re[0] = std::cos(start);
  im[0] = std::sin(start);
  for (int k = 1; k < 4; ++k) {
    re[k] = re[k - 1] * c1 - im[k - 1] * s1;
    im[k] = re[k - 1] * s1 + im[k - 1] * c1;
  }
  int i = 0;
  for (; i + 4 <= frames; i += 4) {
    for (int k = 0; k < 4; ++k) {
      out[i + k] = im[k];
      const double r = re[k] * c4 - im[k] * s4;
      im[k] = re[k] * s4 + im[k] * c4;
      re[k] = r;
    }
  }
  for (int k = 0; i < frames; ++i, ++k) out[i] = im[k];
}

RAZIZ_VECTOR_CLONES void render_table(const WaveTable& table, double phase, double increment, int frames, double* out) {
  // Positions in table samples: start + i * step stays below 2^31 for a block (the table has at
  // most 2^16 samples and a step is under half of it), so a 32-bit conversion and a mask wrap it.
  const float* data = table.data.data();
  const int mask = table.size - 1;
  const double start = wrap_phase(phase) * table.size;
  const double step = increment * table.size;
  for (int i = 0; i < frames; ++i) {
    const double x = start + i * step;
    const int whole = static_cast<int>(x);
    const double t = x - whole;
    const int j = whole & mask;
    const double a = data[j];
    out[i] = a + t * (data[j + 1] - a);
  }
}

void render_voice(const Voice& voice, double phase, double increment, int frames, double* out) {
  switch (voice.kind) {
    case VoiceKind::sine: render_sine(phase, increment, frames, out); return;
    case VoiceKind::table: render_table(*voice.table, phase, increment, frames, out); return;
    case VoiceKind::silent: break;
  }
  for (int i = 0; i < frames; ++i) out[i] = 0.0;
}

}  // namespace raziz::mixer
