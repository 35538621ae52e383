// The system: channels, units, output. Every call here runs on the caller's thread.
#include <chrono>
#include <cmath>
#include <new>
#include <thread>

#include "audio/device/output_keeper.h"
#include "audio/mixer/system_state.h"

namespace raziz::mixer {
namespace {

// Gain changes ramp over 5 ms. Waveform changes cross-fade over 20 ms: a harmonic that appears or
// vanishes over 5 ms spreads energy a few hundred hertz to each side (about -76 dB re a 500 Hz tone
// between its harmonics); over 20 ms that stays below -100 dB, and the change still sounds instant.
constexpr double kRampSeconds = 0.005;
constexpr double kCrossFadeSeconds = 0.020;

void render_for_device(void* user, float* out, int frames) { render(*static_cast<System*>(user), out, frames); }

bool ready(System* system) { return system->initialized && !system->closed; }

SystemCreated created_hook = nullptr;
void* created_hook_user = nullptr;

}  // namespace

System::System() = default;
System::~System() = default;

Result System_Create(System** system) {
  if (!system) return RESULT_ERR_INVALID_PARAM;
  *system = new (std::nothrow) System;
  if (!*system) return RESULT_ERR_MEMORY;
  if (created_hook) created_hook(created_hook_user, *system);
  trace_call(*system, "System_Create", *system);
  return RESULT_OK;
}

void SetSystemCreatedHook(SystemCreated hook, void* user) {
  created_hook = hook;
  created_hook_user = user;
}

Result System_SetSoftwareFormat(System* system, int samplerate) {
  if (!system) return RESULT_ERR_INVALID_HANDLE;
  trace_call(system, "System_SetSoftwareFormat", system);
  if (system->initialized) return RESULT_ERR_INITIALIZED;
  if (samplerate < 8000 || samplerate > 384000) return RESULT_ERR_INVALID_PARAM;
  system->sample_rate = samplerate;
  return RESULT_OK;
}

Result System_Init(System* system, int maxchannels, unsigned flags, void*) {
  if (!system) return RESULT_ERR_INVALID_HANDLE;
  trace_call(system, "System_Init", system);
  if (system->initialized) return RESULT_ERR_INITIALIZED;
  if (maxchannels < 1 || maxchannels > 4096) return RESULT_ERR_INVALID_PARAM;
  system->flags = flags;
  // The rate stays fixed for the system's life, so a device that comes back is asked for the
  // same one; PulseAudio and ALSA's default device convert when their own rate differs.
  for (int i = 0; i < maxchannels; ++i) {
    auto channel = std::make_unique<Channel>();
    channel->system = system;
    channel->index = i;
    system->channels.push_back(std::move(channel));
  }
  system->ramp_shape = RaisedCosine(static_cast<int>(std::lround(kRampSeconds * system->sample_rate)));
  system->fade_shape = RaisedCosine(static_cast<int>(std::lround(kCrossFadeSeconds * system->sample_rate)));
  system->mix.assign(kBlockFrames, 0.0);
  system->scratch_a.assign(kBlockFrames, 0.0);
  system->scratch_b.assign(kBlockFrames, 0.0);
  system->initialized = true;
  if (!(flags & INIT_OFFLINE)) {
    device::StreamRequest request;
    request.sample_rate = system->sample_rate;
    request.buffer_frames = kBlockFrames;
    request.render = &render_for_device;
    request.user = system;
    system->output = std::make_unique<device::OutputKeeper>(request);
  }
  return RESULT_OK;
}

Result System_CreateDSPByType(System* system, int type, DSP** dsp) {
  if (!system || !dsp) return RESULT_ERR_INVALID_HANDLE;
  trace_call(system, "System_CreateDSPByType", system);
  *dsp = nullptr;
  if (!ready(system)) return RESULT_ERR_UNINITIALIZED;
  if (type != DSP_TYPE_OSCILLATOR) return RESULT_ERR_INVALID_PARAM;
  auto unit = std::make_unique<DSP>();
  unit->system = system;
  publish_voice(*unit);
  *dsp = unit.get();
  system->dsps.push_back(std::move(unit));
  return RESULT_OK;
}

Result System_PlayDSP(System* system, int channelindex, DSP* dsp, bool paused, Channel** channel) {
  if (!system || !dsp || dsp->system != system) return RESULT_ERR_INVALID_HANDLE;
  trace_call(system, "System_PlayDSP", system);
  if (channel) *channel = nullptr;
  if (!ready(system)) return RESULT_ERR_UNINITIALIZED;
  if (dsp->released) return RESULT_ERR_INVALID_HANDLE;
  if (dsp->channel) return RESULT_ERR_INVALID_PARAM;  // a unit plays on one channel at a time
  Channel* target = nullptr;
  if (channelindex == -1) {
    // A free channel whose last sound has finished fading, so nothing is cut off.
    for (auto& c : system->channels) {
      if (!c->playing && c->idle.load(std::memory_order_acquire)) {
        target = c.get();
        break;
      }
    }
    if (!target) return RESULT_ERR_CHANNEL_ALLOC;
  } else {
    if (channelindex < 0 || channelindex >= static_cast<int>(system->channels.size())) return RESULT_ERR_INVALID_PARAM;
    target = system->channels[channelindex].get();
    if (target->playing) {
      target->playing->channel = nullptr;
      target->playing = nullptr;
    }
  }
  target->volume.store(1.0f, std::memory_order_relaxed);
  target->mute.store(false, std::memory_order_relaxed);
  target->paused.store(paused, std::memory_order_relaxed);
  target->idle.store(false, std::memory_order_relaxed);
  target->dsp.store(dsp, std::memory_order_relaxed);
  target->serial.fetch_add(1, std::memory_order_release);
  if (target->index >= system->channels_used.load(std::memory_order_relaxed))
    system->channels_used.store(target->index + 1, std::memory_order_release);
  target->playing = dsp;
  dsp->channel = target;
  if (channel) *channel = target;
  return RESULT_OK;
}

Result System_Render(System* system, float* out, int frames) {
  if (!system) return RESULT_ERR_INVALID_HANDLE;
  if (!system->initialized) return RESULT_ERR_UNINITIALIZED;
  if (!(system->flags & INIT_OFFLINE)) return RESULT_ERR_NOT_OFFLINE;
  if (!out || frames < 0) return RESULT_ERR_INVALID_PARAM;
  render(*system, out, frames);
  return RESULT_OK;
}

Result System_Close(System* system) {
  if (!system) return RESULT_ERR_INVALID_HANDLE;
  trace_call(system, "System_Close", system);
  if (!ready(system)) return RESULT_ERR_UNINITIALIZED;
  system->closing.store(true, std::memory_order_release);
  if (system->output) {
    // Wait (briefly: a fade is 5 ms) until the renderer has faded everything out, then stop the
    // stream, which plays out what it holds before it closes.
    using namespace std::chrono_literals;
    const auto give_up = std::chrono::steady_clock::now() + 250ms;
    while (system->output->rendering() && !system->faded.load(std::memory_order_acquire) &&
           std::chrono::steady_clock::now() < give_up)
      std::this_thread::sleep_for(2ms);
    system->output->stop();
    const device::OutputStatus last = system->output->status();
    system->closed_output_opens = last.opens;
    system->closed_output_underruns = last.underruns;
    system->output.reset();
  }
  system->closed = true;
  return RESULT_OK;
}

Result System_Release(System* system) {
  if (!system) return RESULT_ERR_INVALID_HANDLE;
  trace_call(system, "System_Release", system);
  if (system->output) system->output->stop();
  delete system;
  return RESULT_OK;
}

Result System_GetSampleRate(System* system, int* rate) {
  if (!system || !rate) return RESULT_ERR_INVALID_HANDLE;
  if (!system->initialized) return RESULT_ERR_UNINITIALIZED;
  *rate = system->sample_rate;
  return RESULT_OK;
}

Result System_GetOutputInfo(System* system, OutputInfo* info) {
  if (!system || !info) return RESULT_ERR_INVALID_HANDLE;
  *info = OutputInfo{};
  info->sample_rate = system->initialized ? system->sample_rate : 0;
  info->blocks = system->blocks.load(std::memory_order_acquire);
  if (system->flags & INIT_OFFLINE) {
    info->api = system->initialized ? "offline" : "none";
    info->buffer_frames = kBlockFrames;
  } else if (system->output) {
    const device::OutputStatus status = system->output->status();
    info->device_open = status.device_open;
    info->api = status.api;
    info->buffer_frames = status.buffer_frames;
    info->opens = status.opens;
    info->underruns = status.underruns;
  } else {
    info->opens = system->closed_output_opens;
    info->underruns = system->closed_output_underruns;
  }
  return RESULT_OK;
}

Result System_SetCallTrace(System* system, CallTrace trace, void* user) {
  if (!system) return RESULT_ERR_INVALID_HANDLE;
  system->trace = trace;
  system->trace_user = user;
  return RESULT_OK;
}

}  // namespace raziz::mixer
