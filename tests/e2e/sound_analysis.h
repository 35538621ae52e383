#pragma once
// What a listener would hear in a recording: the tones present with their levels, and clicks.
// Used by the end-to-end tests on a PulseAudio monitor recording (interleaved float samples).
#include <cstddef>
#include <vector>

namespace raziz::e2e {

struct Tone {
  double freq_hz;    // interpolated peak frequency
  double amplitude;  // peak amplitude of the sine it stands for (full scale = 1)
};

struct Spectrum {
  double rms;               // of the whole segment
  std::vector<Tone> tones;  // spectral peaks, strongest first
};

// Spectral peaks of a mono segment above `floor_db` (dB relative to full-scale sine amplitude).
Spectrum analyse_tones(const float* samples, std::size_t count, double rate, double floor_db = -80.0);

struct Click {
  std::size_t frame;  // where the discontinuity is
  double strength;    // how far it stands out of its neighbourhood (ratio)
};

// Discontinuities: places where the fourth difference of the signal jumps far above what the signal
// around it shows. A tone that starts, stops or changes level with a ramp of a few milliseconds gives
// none; a cut or a gap in the stream gives one.
std::vector<Click> find_clicks(const float* samples, std::size_t count, double rate);

struct Ending {
  bool found = false;     // some sound, then only silence to the end
  std::size_t frame = 0;  // first frame of the final silence
  double tail_peak = 0;   // peak of the last millisecond of sound
  double body_peak = 0;   // peak of the 40 ms before it
};

// How the last sound in a recording ends: a fade leaves its last millisecond far below the sound before it; a
// cut (a stream closed with samples still queued, say) leaves them at full level.
Ending find_ending(const float* samples, std::size_t count, double rate);

}  // namespace raziz::e2e
