#pragma once
// The mixer library: a system of channels, each playing one oscillator unit, mixed to a stereo
// float stream (a sound device, or a caller's buffer when initialised for offline rendering).
//
// Threads: one thread (the caller's) makes every call below. The device's own thread renders;
// every setting crosses to it through atomics that it reads once per block of at most 256 frames.
//
// What a channel sounds like:
// - a channel plays from the first sample after System_PlayDSP (or Channel_SetPaused false) and
//   fades in over 5 ms (a raised cosine); mute, pause, volume changes and release are ramped the
//   same way, and a change of waveform (or of the harmonics a new rate allows) cross-fades over
//   20 ms, so no change clicks;
// - volume: Channel_SetVolume keeps the float exactly as given and Channel_GetVolume returns it;
//   the renderer applies it clamped to 0..1 (NaN counts as 0), so 1.5 sounds as full scale;
// - a sine of volume v peaks at v; square and triangle are band-limited (only the harmonics below
//   half the sample rate) and scaled so that they too peak at v;
// - a rate at or below 0, not a number, or at or above half the sample rate is silence;
// - the mix saturates at full scale (+-1) and is the same on both output channels.
#include <cstdint>

namespace raziz::mixer {

enum Result : int {
  RESULT_OK = 0,
  RESULT_ERR_INVALID_HANDLE,  // null handle, or a channel whose unit was released
  RESULT_ERR_INVALID_PARAM,   // out-of-range argument (index, type, waveform value, ...)
  RESULT_ERR_UNINITIALIZED,   // System_Init was not called, or System_Close was
  RESULT_ERR_INITIALIZED,     // System_Init called twice
  RESULT_ERR_CHANNEL_ALLOC,   // no free channel
  RESULT_ERR_NOT_OFFLINE,     // System_Render on a system that plays to a device
  RESULT_ERR_MEMORY,
};

struct System;
struct Channel;
struct DSP;

// System_Init flags.
inline constexpr unsigned INIT_NORMAL = 0;
// No device is opened; the caller renders with System_Render. Nothing runs on other threads.
inline constexpr unsigned INIT_OFFLINE = 1u << 0;

// DSP unit types for System_CreateDSPByType.
inline constexpr int DSP_TYPE_OSCILLATOR = 2;

// Oscillator parameters.
inline constexpr int OSCILLATOR_TYPE = 0;  // waveform: 0 sine, 1 square, 4 triangle
inline constexpr int OSCILLATOR_RATE = 1;  // frequency in Hz
inline constexpr float WAVE_SINE = 0.0f;
inline constexpr float WAVE_SQUARE = 1.0f;
inline constexpr float WAVE_TRIANGLE = 4.0f;

inline constexpr int kDefaultSampleRate = 48000;
inline constexpr int kBlockFrames = 256;

Result System_Create(System** system);
// Before System_Init: the mixing rate (8000..384000 Hz; 48000 unless set). A device is asked for
// this rate and converts if its own differs.
Result System_SetSoftwareFormat(System* system, int samplerate);
// Opens the output: with INIT_NORMAL the device is opened on a thread of the library's own, so the
// call never waits for a sound server; with no usable device the system runs silent, and keeps
// trying to open one about once a second. extradriverdata: unused, pass nullptr.
Result System_Init(System* system, int maxchannels, unsigned flags, void* extradriverdata);
Result System_CreateDSPByType(System* system, int type, DSP** dsp);
// channelindex -1 takes any free channel; 0..maxchannels-1 takes that channel, stopping what it plays.
Result System_PlayDSP(System* system, int channelindex, DSP* dsp, bool paused, Channel** channel);
// Fades every channel out, lets the fade reach the device, then stops and closes the stream.
Result System_Close(System* system);
Result System_Release(System* system);

// Offline rendering: frames of interleaved stereo float into out (2 * frames floats).
Result System_Render(System* system, float* out, int frames);
Result System_GetSampleRate(System* system, int* rate);

struct OutputInfo {
  bool device_open = false;  // a real device stream is running
  const char* api = "none";  // "pulse", "alsa", "null" (silent), "offline" or "none"
  int sample_rate = 0;
  int buffer_frames = 0;
  std::uint64_t opens = 0;      // how many times a device stream has been opened
  std::uint64_t blocks = 0;     // blocks rendered so far, by any stream
  std::uint64_t underruns = 0;  // times a device ran out of samples, over all its streams so far
};
// Still answers after System_Close (until System_Release), with the totals of the output that was.
Result System_GetOutputInfo(System* system, OutputInfo* info);

// Call tracing: when set, every call above and below reports its name and its first handle before
// it does anything (System_Release reports before it frees the system). For diagnostics and tests.
using CallTrace = void (*)(void* user, const char* call, const void* handle);
Result System_SetCallTrace(System* system, CallTrace trace, void* user);

// Process-wide: System_Create hands every new system to `hook` before it reports its own call, so a trace
// can cover a system from its creation even when the caller is a whole program. Null removes it.
using SystemCreated = void (*)(void* user, System* system);
void SetSystemCreatedHook(SystemCreated hook, void* user);

Result DSP_SetParameter(DSP* dsp, int index, float value);
// Returns the value last set (as given), or the default: waveform 0 (sine), rate 220 Hz.
Result DSP_GetParameter(DSP* dsp, int index, float* value);
// Stops the unit; a channel playing it fades out and becomes free.
Result DSP_Release(DSP* dsp);

Result Channel_SetVolume(Channel* channel, float volume);
Result Channel_GetVolume(Channel* channel, float* volume);
Result Channel_SetPaused(Channel* channel, bool paused);
Result Channel_GetPaused(Channel* channel, bool* paused);
Result Channel_SetMute(Channel* channel, bool mute);
Result Channel_GetMute(Channel* channel, bool* mute);
// True while the channel has a unit to play (paused or muted counts as playing).
Result Channel_IsPlaying(Channel* channel, bool* playing);
Result Channel_GetIndex(Channel* channel, int* index);

}  // namespace raziz::mixer
