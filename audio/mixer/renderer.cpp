// The block renderer. It runs on the device's thread in real time: it reads shared settings once
// per block, and it never locks, allocates, logs or waits.
#include <algorithm>

#include "audio/mixer/system_state.h"

#if defined(__SSE__) || defined(_M_X64)
#include <xmmintrin.h>
#define RAZIZ_HAVE_MXCSR 1
#endif

namespace raziz::mixer {
namespace {

// Volume as the renderer applies it: 0..1, with NaN as 0.
double applied_volume(float v) {
  if (!(v > 0.0f)) return 0.0;
  return v < 1.0f ? v : 1.0;
}

// Flush-to-zero and denormals-are-zero for the render, then back to what the thread had.
class FlushDenormals {
 public:
#ifdef RAZIZ_HAVE_MXCSR
  FlushDenormals() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | 0x8040u); }
  ~FlushDenormals() { _mm_setcsr(saved_); }
 private:
  unsigned saved_;
#endif
};

// Takes up a new System_PlayDSP on the channel: a fresh oscillator, silent, starting next block.
void adopt(Channel& channel, ChannelRender& r, std::uint32_t serial) {
  r = ChannelRender{};
  r.serial = serial;
  r.dsp = channel.dsp.load(std::memory_order_acquire);
  r.hold = 1;
  if (r.dsp) {
    r.dsp->voice.read(r.voice);
    channel.idle.store(false, std::memory_order_release);
  }
}

// Renders one channel's block and adds it to the mix. Returns true while the channel is audible or
// still ramping.
bool render_channel(System& system, Channel& channel, int frames, bool closing) {
  ChannelRender& r = channel.render;
  const std::uint32_t serial = channel.serial.load(std::memory_order_acquire);
  if (serial != r.serial) adopt(channel, r, serial);
  if (!r.dsp) return false;

  const std::vector<double>& shape = system.ramp_shape;
  const int ramp_length = static_cast<int>(shape.size()) - 1;

  // A start or unpause waits one block, so settings the caller makes right after it (a mute, a
  // volume) are in place before the first sample sounds.
  const bool paused = channel.paused.load(std::memory_order_relaxed);
  if (paused) {
    r.running = false;
    r.hold = 1;
  } else if (!r.running) {
    if (r.hold > 0) --r.hold; else r.running = true;
  }
  const bool stopping = r.dsp->stopping.load(std::memory_order_relaxed);
  const bool mute = channel.mute.load(std::memory_order_relaxed);
  const double target =
      (r.running && !mute && !stopping && !closing) ? applied_volume(channel.volume.load(std::memory_order_relaxed)) : 0.0;
  if (target != r.gain.to) r.gain.retarget(target, shape);

  const bool silent_now = r.gain.idle(ramp_length) && r.gain.to == 0.0;
  if (silent_now && stopping) {
    r.dsp = nullptr;
    channel.idle.store(true, std::memory_order_release);
    return false;
  }

  // The oscillator's settings: a change of sound cross-fades; a change of rate alone is applied at
  // once, phase-continuously. While a cross-fade runs, newer settings wait for it to end.
  if (r.fade < 0) {
    Voice latest = r.voice;
    r.dsp->voice.read(latest);
    if (latest.same_sound(r.voice) || silent_now) {
      r.voice = latest;
    } else {
      r.next = latest;
      r.fade = 0;
    }
  }

  if (!r.running && silent_now) return false;   // paused: the oscillator stands still

  const double increment = r.fade >= 0 && r.next.kind == VoiceKind::silent ? r.voice.increment
                         : r.fade >= 0 ? r.next.increment : r.voice.increment;

  if (!silent_now) {
    double* a = system.scratch_a.data();
    render_voice(r.voice, r.phase, increment, frames, a);
    if (r.fade >= 0) {
      double* b = system.scratch_b.data();
      render_voice(r.next, r.phase, increment, frames, b);
      const std::vector<double>& fade = system.fade_shape;
      const int fade_length = static_cast<int>(fade.size()) - 1;
      for (int i = 0; i < frames; ++i) {
        const int k = r.fade + i;
        const double w = k < fade_length ? fade[k] : 1.0;
        a[i] += w * (b[i] - a[i]);
      }
    }
    double* mix = system.mix.data();
    if (r.gain.idle(ramp_length)) {
      const double g = r.gain.to;
      for (int i = 0; i < frames; ++i) mix[i] += g * a[i];
    } else {
      const double from = r.gain.from, span = r.gain.to - r.gain.from;
      for (int i = 0; i < frames; ++i) {
        const int k = r.gain.position + i;
        const double g = k < ramp_length ? from + span * shape[k] : r.gain.to;
        mix[i] += g * a[i];
      }
    }
  }

  if (r.fade >= 0) {
    r.fade += frames;
    if (r.fade >= static_cast<int>(system.fade_shape.size()) - 1) {
      r.next.increment = r.next.kind == VoiceKind::silent ? 0.0 : r.next.increment;
      r.voice = r.next;
      r.fade = -1;
    }
  }
  r.gain.position = std::min(r.gain.position + frames, ramp_length);
  r.phase = wrap_phase(r.phase + frames * increment);
  return !(r.gain.idle(ramp_length) && r.gain.to == 0.0);
}

void render_block(System& system, float* out, int frames) {
  const bool closing = system.closing.load(std::memory_order_acquire);
  double* mix = system.mix.data();
  std::fill(mix, mix + frames, 0.0);
  bool audible = false;
  for (auto& channel : system.channels) audible |= render_channel(system, *channel, frames, closing);
  for (int i = 0; i < frames; ++i) {
    const double v = std::clamp(mix[i], -1.0, 1.0);
    out[2 * i] = out[2 * i + 1] = static_cast<float>(v);
  }
  if (closing && !audible) system.faded.store(true, std::memory_order_release);
  system.blocks.fetch_add(1, std::memory_order_release);
}

}  // namespace

void render(System& system, float* out, int frames) {
  FlushDenormals ftz;
  while (frames > 0) {
    const int n = std::min(frames, kBlockFrames);
    render_block(system, out, n);
    out += 2 * n;
    frames -= n;
  }
}

}  // namespace raziz::mixer
