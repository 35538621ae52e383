#include "tests/signal/offline_mixer.h"

#include <stdexcept>

namespace raziz::test {

OfflineMixer::OfflineMixer(int rate, int channels) : rate_(rate) {
  if (mixer::System_Create(&system_) != mixer::RESULT_OK ||
      mixer::System_SetSoftwareFormat(system_, rate) != mixer::RESULT_OK ||
      mixer::System_Init(system_, channels, mixer::INIT_OFFLINE, nullptr) != mixer::RESULT_OK)
    throw std::runtime_error("OfflineMixer: cannot create the system");
}

OfflineMixer::~OfflineMixer() {
  mixer::System_Close(system_);
  mixer::System_Release(system_);
}

Tone OfflineMixer::add(float waveform, float hz, float volume) {
  Tone t;
  if (mixer::System_CreateDSPByType(system_, mixer::DSP_TYPE_OSCILLATOR, &t.dsp) != mixer::RESULT_OK ||
      mixer::DSP_SetParameter(t.dsp, mixer::OSCILLATOR_TYPE, waveform) != mixer::RESULT_OK ||
      mixer::DSP_SetParameter(t.dsp, mixer::OSCILLATOR_RATE, hz) != mixer::RESULT_OK ||
      mixer::System_PlayDSP(system_, -1, t.dsp, false, &t.channel) != mixer::RESULT_OK ||
      mixer::Channel_SetVolume(t.channel, volume) != mixer::RESULT_OK)
    throw std::runtime_error("OfflineMixer: cannot add a tone");
  return t;
}

std::vector<double> OfflineMixer::render(int frames) {
  buffer_.resize(static_cast<std::size_t>(frames) * 2);
  if (mixer::System_Render(system_, buffer_.data(), frames) != mixer::RESULT_OK)
    throw std::runtime_error("OfflineMixer: render failed");
  std::vector<double> left(frames);
  for (int i = 0; i < frames; ++i) {
    if (buffer_[2 * i] != buffer_[2 * i + 1]) throw std::runtime_error("OfflineMixer: left and right differ");
    left[i] = buffer_[2 * i];
  }
  return left;
}

void OfflineMixer::skip(int frames) {
  while (frames > 0) {
    const int n = frames < 65536 ? frames : 65536;
    render(n);
    frames -= n;
  }
}

}  // namespace raziz::test
