#pragma once
// The inside of the mixer's handles. Fields are grouped by the thread that owns them: "caller"
// fields are touched only by the thread making library calls, "render" fields only by whichever
// thread renders (the device's, or the caller's in offline mode), and atomics are shared.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/mixer/mixer.h"
#include "audio/mixer/oscillator.h"
#include "audio/mixer/ramp.h"
#include "audio/mixer/voice_exchange.h"
#include "audio/mixer/wave_table.h"

namespace raziz::device {
class OutputKeeper;
}

namespace raziz::mixer {

struct DSP {
  System* system = nullptr;
  // caller
  float waveform = WAVE_SINE;
  float rate = 220.0f;
  Channel* channel = nullptr;
  bool released = false;
  // shared
  VoiceExchange voice;
  std::atomic<bool> stopping{false};
};

struct ChannelRender {
  std::uint32_t serial = 0;
  DSP* dsp = nullptr;
  double phase = 0.0;
  Voice voice;  // what plays
  Voice next;   // what it cross-fades to, while fading
  Ramp fade;    // from voice (0) to next (1) while a cross-fade runs, at rest otherwise
  Ramp gain;
  bool running = false;  // not paused, as applied
  int hold = 0;          // blocks to wait before a start or unpause takes effect
};

struct Channel {
  System* system = nullptr;
  int index = 0;
  // caller
  DSP* playing = nullptr;
  // shared
  std::atomic<DSP*> dsp{nullptr};
  std::atomic<std::uint32_t> serial{0};  // bumped by each System_PlayDSP on this channel
  std::atomic<float> volume{1.0f};
  std::atomic<bool> paused{false};
  std::atomic<bool> mute{false};
  std::atomic<bool> idle{true};  // the renderer has nothing left to play here
  // render
  ChannelRender render;
};

struct System {
  // caller
  bool initialized = false;
  bool closed = false;
  unsigned flags = 0;
  int sample_rate = kDefaultSampleRate;
  std::vector<std::unique_ptr<Channel>> channels;
  std::vector<std::unique_ptr<DSP>> dsps;
  WaveTableCache tables;
  CallTrace trace = nullptr;
  void* trace_user = nullptr;
  std::unique_ptr<device::OutputKeeper> output;
  std::uint64_t closed_output_opens = 0;  // the totals of the output System_Close stopped
  std::uint64_t closed_output_underruns = 0;
  // render (sized at init)
  RaisedCosine ramp_shape;  // gain ramps
  RaisedCosine fade_shape;  // waveform cross-fades
  std::vector<double> mix;
  std::vector<double> scratch_a;
  std::vector<double> scratch_b;
  // shared
  std::atomic<bool> closing{false};
  std::atomic<bool> faded{false};
  std::atomic<std::uint64_t> blocks{0};
  // One past the highest channel ever played: the renderer need not touch the (cold) channels beyond it.
  std::atomic<int> channels_used{0};

  System();
  ~System();
};

// The block renderer: mixes every channel into out (interleaved stereo, frames of them).
void render(System& system, float* out, int frames);

// Works out what an oscillator plays from its caller-side parameters and hands it over.
void publish_voice(DSP& dsp);

inline void trace_call(System* system, const char* call, const void* handle) {
  if (system && system->trace) system->trace(system->trace_user, call, handle);
}

}  // namespace raziz::mixer
