#pragma once
// Output streams: something that calls a render function from a thread of its own, asking for
// interleaved stereo float frames. PulseAudio is served by libpulse's asynchronous API (pulse_stream.cpp),
// WASAPI by a stream of its own (wasapi_stream.cpp), the other devices and PipeWire's PulseAudio server by
// RtAudio (rtaudio_stream.cpp is the only file that includes it); the null stream keeps time with no device.
#include <cstdint>
#include <memory>

namespace raziz::device {

// Runs on the stream's thread, in real time: fill out with frames * 2 floats.
using RenderFn = void (*)(void* user, float* out, int frames);
// Called once when a stream fails, from a thread of the stream's own (never the render callback).
using FailureFn = void (*)(void* owner);

struct StreamRequest {
  int sample_rate = 48000;
  int buffer_frames = 256;
  RenderFn render = nullptr;
  void* user = nullptr;
  // Optional: lets the owner learn of a failure at once instead of looking for it. Not every stream
  // calls it, so an owner still looks now and then.
  FailureFn on_failure = nullptr;
  void* owner = nullptr;
};

class OutputStream {
 public:
  virtual ~OutputStream() = default;
  // True once the device has reported an error (the server went away, say): the owner should close
  // it and try again. After the first error the stream renders nothing more.
  virtual bool failed() const = 0;
  // How often the device reported that it ran out of samples since the stream opened.
  virtual std::uint64_t underruns() const = 0;
  // Stops the stream after what was rendered has played, and closes it.
  virtual void close() = 0;
  virtual const char* api() const = 0;
  // True for a stream that calls its request's on_failure as it fails, so its owner need not look.
  virtual bool reports_failure() const { return false; }
  virtual int buffer_frames() const = 0;
};

// Linux: PulseAudio, then ALSA. Windows: WASAPI (float to the mix), then DirectSound (16 bits, dithered)
// where WASAPI is missing or refuses.
enum class DeviceApi { pulse, alsa, wasapi, directsound };

// Opens and starts the default output of the API; nullptr if that fails.
std::unique_ptr<OutputStream> open_device_stream(DeviceApi api, const StreamRequest& request);
#ifdef RAZIZ_HAVE_PULSE
// PulseAudio's default sink; nullptr when libpulse or the server is missing, or the server is PipeWire's.
std::unique_ptr<OutputStream> open_pulse_stream(const StreamRequest& request);
#endif

// A stream with no device: renders in real time into a scratch buffer, so the mixer's ramps and
// fades keep their timing while the program runs silent.
std::unique_ptr<OutputStream> open_null_stream(const StreamRequest& request);

}  // namespace raziz::device
