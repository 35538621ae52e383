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
void adopt_new_play(const System& system, Channel& channel, ChannelRender& r) {
  const std::uint32_t serial = channel.serial.load(std::memory_order_acquire);
  if (serial == r.serial) return;
  r = ChannelRender{};
  r.serial = serial;
  r.dsp = channel.dsp.load(std::memory_order_acquire);
  r.hold = 1;
  // A new play's gain counts as moving for its first ramp, so the oscillator's phase runs from the
  // block it was adopted in, held or not.
  r.gain = Ramp(system.ramp_shape);
  r.fade = Ramp(system.fade_shape);
  r.fade.jump(0.0);
  if (r.dsp) {
    r.dsp->voice.read(r.voice);
    channel.idle.store(false, std::memory_order_release);
  }
}

// A start or unpause waits one block, so settings the caller makes right after it (a mute, a
// volume) are in place before the first sample sounds.
void hold_new_start(const Channel& channel, ChannelRender& r) {
  if (channel.paused.load(std::memory_order_relaxed)) {
    r.running = false;
    r.hold = 1;
  } else if (!r.running) {
    if (r.hold > 0) --r.hold;
    else r.running = true;
  }
}

// The channel's volume while it may sound, silence otherwise.
void aim_gain(const Channel& channel, ChannelRender& r, bool stopping, bool closing) {
  const bool mute = channel.mute.load(std::memory_order_relaxed);
  const bool may_sound = r.running && !mute && !stopping && !closing;
  const double target = may_sound ? applied_volume(channel.volume.load(std::memory_order_relaxed)) : 0.0;
  if (target != r.gain.target()) r.gain.retarget(target);
}

// A change of sound cross-fades (unless nothing is heard anyway); a change of rate alone is applied at
// once, phase-continuously. While a cross-fade runs, newer settings wait for it to end.
void take_voice_settings(ChannelRender& r, bool silent) {
  if (!r.fade.arrived()) return;
  Voice latest = r.voice;
  r.dsp->voice.read(latest);
  if (latest.same_sound(r.voice) || silent) {
    r.voice = latest;
  } else {
    r.next = latest;
    r.fade.retarget(1.0);
  }
}

// Both voices of a cross-fade run at the rate of the sound faded to, so it starts phase-continuously;
// fading to silence keeps the old rate to the end.
double phase_increment(const ChannelRender& r) {
  const bool fading_to_sound = !r.fade.arrived() && r.next.kind != VoiceKind::silent;
  return fading_to_sound ? r.next.increment : r.voice.increment;
}

// The voice (cross-faded when a fade runs) at its gain, added to the mix.
void synthesize_into_mix(System& system, const ChannelRender& r, double increment, int frames) {
  double* a = system.scratch_a.data();
  render_voice(r.voice, r.phase, increment, frames, a);
  if (!r.fade.arrived()) {
    double* b = system.scratch_b.data();
    render_voice(r.next, r.phase, increment, frames, b);
    r.fade.blend(a, b, frames);
  }
  r.gain.scale_add(a, system.mix.data(), frames);
}

// Moves phase, gain and cross-fade on by the block; a finished cross-fade makes next the voice.
void advance(ChannelRender& r, double increment, int frames) {
  if (!r.fade.arrived()) {
    r.fade.advance(frames);
    if (r.fade.arrived()) {
      if (r.next.kind == VoiceKind::silent) r.next.increment = 0.0;
      r.voice = r.next;
      r.fade.jump(0.0);
    }
  }
  r.gain.advance(frames);
  r.phase = wrap_phase(r.phase + frames * increment);
}

// Renders one channel's block and adds it to the mix. Returns true while the channel is audible or
// still ramping.
bool render_channel(System& system, Channel& channel, int frames, bool closing) {
  ChannelRender& r = channel.render;
  adopt_new_play(system, channel, r);
  if (!r.dsp) return false;
  hold_new_start(channel, r);
  const bool stopping = r.dsp->stopping.load(std::memory_order_relaxed);
  aim_gain(channel, r, stopping, closing);

  const bool silent = r.gain.resting_at_zero();
  if (silent && stopping) {
    // Released and faded out: the channel is free for another play.
    r.dsp = nullptr;
    channel.idle.store(true, std::memory_order_release);
    return false;
  }
  take_voice_settings(r, silent);
  if (!r.running && silent) return false;  // paused: the oscillator stands still

  const double increment = phase_increment(r);
  if (!silent) synthesize_into_mix(system, r, increment, frames);
  advance(r, increment, frames);
  return !r.gain.resting_at_zero();
}

void render_block(System& system, float* out, int frames) {
  const bool closing = system.closing.load(std::memory_order_acquire);
  double* mix = system.mix.data();
  std::fill(mix, mix + frames, 0.0);
  bool audible = false;
  const int used = system.channels_used.load(std::memory_order_acquire);
  for (int c = 0; c < used; ++c) audible |= render_channel(system, *system.channels[c], frames, closing);
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
