#pragma once
// What an oscillator plays, and the inner loops that synthesise it. The phase is in cycles, kept in
// double precision and computed per sample as start + i * increment, so the frequency is exact and
// no rounding accumulates along a block.
#include "audio/mixer/wave_table.h"

namespace raziz::mixer {

enum class VoiceKind : int { silent, sine, table };

struct Voice {
  VoiceKind kind = VoiceKind::silent;
  const WaveTable* table = nullptr;  // for VoiceKind::table
  double increment = 0.0;            // cycles per sample

  bool same_sound(const Voice& other) const { return kind == other.kind && table == other.table; }
};

// out[i] = sin(2 pi (phase + i * increment)), to about 1e-13 for blocks of up to 256 frames.
void render_sine(double phase, double increment, int frames, double* out);
// out[i] = the table read with linear interpolation at phase + i * increment.
void render_table(const WaveTable& table, double phase, double increment, int frames, double* out);
// Dispatches on the voice's kind; silence is zeros.
void render_voice(const Voice& voice, double phase, double increment, int frames, double* out);

// The fractional part of a phase, in [0, 1).
double wrap_phase(double phase);

}  // namespace raziz::mixer
