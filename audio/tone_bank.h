#pragma once
// The nine bands' tones: one oscillator per band, each on its own channel from start-up to exit.
// A band is switched on and off by unmuting and muting its channel, never by stopping it, so it
// keeps its phase and settings while silent. Result codes of the mixer are not examined: without
// a device the mixer runs silent and every call still works.
#include <array>

#include "audio/mixer/mixer.h"

namespace raziz {

enum class Waveform { sine, square, triangle };

// The third-octave bands from 500 Hz to 3150 Hz, low to high.
inline constexpr int kBandCount = 9;
inline constexpr std::array<int, kBandCount> kBandFrequencies = {500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150};

struct ToneChannel {
  int band = 0;
  int frequency = 0;  // the band's nominal frequency; not changed by set_rate
  mixer::DSP* oscillator = nullptr;
  mixer::Channel* channel = nullptr;
  bool sounding = false;
};

// offline: no device is opened; the caller renders with mixer::System_Render.
enum class AudioOutput { device, offline };

struct ToneBank {
  mixer::System* system = nullptr;
  std::array<ToneChannel, kBandCount> channels{};
};

// Nine oscillators playing muted, sine, at the band frequencies, volume 0.2; nothing sounding.
void start(ToneBank& bank, AudioOutput output = AudioOutput::device);
void set_waveform(ToneBank& bank, int band, Waveform kind);
void set_rate(ToneBank& bank, int band, float hz);
// Passed on as given: the bank neither clamps nor rounds (the mixer clamps what it plays to 0..1).
void set_level(ToneBank& bank, int band, float level);
void toggle(ToneBank& bank, int band);
// Releases the nine oscillators in band order, then closes and releases the system.
void shutdown(ToneBank& bank);

}  // namespace raziz
