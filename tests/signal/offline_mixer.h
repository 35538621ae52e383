#pragma once
// A mixer system rendering offline, for tests: add tones, change them, render the left channel.
#include <vector>

#include "audio/mixer/mixer.h"

namespace raziz::test {

struct Tone {
  mixer::DSP* dsp = nullptr;
  mixer::Channel* channel = nullptr;
};

class OfflineMixer {
 public:
  explicit OfflineMixer(int rate = 48000, int channels = 32);
  ~OfflineMixer();
  OfflineMixer(const OfflineMixer&) = delete;
  OfflineMixer& operator=(const OfflineMixer&) = delete;

  // A playing, unmuted oscillator (it sounds from the second block on, after its fade-in).
  Tone add(float waveform, float hz, float volume);
  // Renders frames; returns the left channel and checks that the right one is identical.
  std::vector<double> render(int frames);
  // Renders and throws it away (to get past fade-ins).
  void skip(int frames);

  mixer::System* system() const { return system_; }
  int rate() const { return rate_; }

 private:
  mixer::System* system_ = nullptr;
  int rate_;
  std::vector<float> buffer_;
};

}  // namespace raziz::test
