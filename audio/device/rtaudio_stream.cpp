// Device output through RtAudio. Everything that depends on RtAudio's version lives here.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include <rtaudio/RtAudio.h>

#include "audio/device/output_stream.h"
#include "audio/device/rtaudio_module.h"
#include "audio/device/tpdf_quantizer.h"
#ifdef _WIN32
#include "audio/device/wasapi_stream.h"
#endif

#ifdef __linux__
#include <dirent.h>
#include <sched.h>

#include <fstream>
#endif

#ifdef RAZIZ_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

#if defined(RTAUDIO_VERSION_MAJOR) && RTAUDIO_VERSION_MAJOR >= 6
#define RAZIZ_RTAUDIO_6 1
#endif

namespace raziz::device {
namespace {

// RtAudio 5's error callback carries no user pointer, so errors are counted process-wide; a stream
// compares the count with the one it saw when it opened. Two streams open at once would each see the
// other's errors and reopen once, which is harmless.
std::atomic<unsigned> g_stream_errors{0};

#ifdef RAZIZ_RTAUDIO_6
void on_error(RtAudioErrorType type, const std::string&) {
  if (type != RTAUDIO_WARNING && type != RTAUDIO_NO_ERROR) g_stream_errors.fetch_add(1);
}
#else
void on_error(RtAudioError::Type, const std::string&) { g_stream_errors.fetch_add(1); }
#endif

RtAudio::Api rtaudio_api(DeviceApi api) {
  switch (api) {
    case DeviceApi::pulse: return RtAudio::LINUX_PULSE;
    case DeviceApi::alsa: return RtAudio::LINUX_ALSA;
    case DeviceApi::wasapi: return RtAudio::WINDOWS_WASAPI;
    case DeviceApi::directsound: return RtAudio::WINDOWS_DS;
  }
  return RtAudio::UNSPECIFIED;
}

// PulseAudio's client library moves our samples to the server from a thread of its own
// ("threaded-ml"), at normal priority. Under load that thread, not our callback, is what misses
// deadlines and lets the stream underrun, so it gets the callback's real-time priority too (where
// the process may ask for it; otherwise nothing changes).
void raise_pulse_io_threads(int priority) {
#ifdef __linux__
  DIR* tasks = opendir("/proc/self/task");
  if (!tasks) return;
  while (const dirent* entry = readdir(tasks)) {
    if (entry->d_name[0] == '.') continue;
    std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
    std::string name;
    std::getline(comm, name);
    if (name != "threaded-ml") continue;
    const pid_t tid = static_cast<pid_t>(std::stol(entry->d_name));
    if (sched_getscheduler(tid) == SCHED_RR) continue;
    sched_param param{};
    param.sched_priority = priority;
    sched_setscheduler(tid, SCHED_RR, &param);
  }
  closedir(tasks);
#else
  (void)priority;
#endif
}

// With no sound card, every attempt to open ALSA (once a second while no device works) would print
// a dozen lines from ALSA's library. The program reports nothing about audio, so ALSA doesn't either.
#ifdef RAZIZ_HAVE_ALSA
void ignore_alsa_error(const char*, int, const char*, int, const char*, ...) {}
#endif

void quiet_alsa() {
#ifdef RAZIZ_HAVE_ALSA
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(&ignore_alsa_error); });
#endif
}

class RtAudioStream final : public OutputStream {
 public:
  RtAudioStream(DeviceApi api, const StreamRequest& request) : request_(request), api_(api) {}
  ~RtAudioStream() override { close(); }

  bool open() {
    if (api_ == DeviceApi::alsa) quiet_alsa();
    const RtAudio::Api which = rtaudio_api(api_);
    errors_at_open_ = g_stream_errors.load();
    try {
#ifdef RAZIZ_RTAUDIO_6
      audio_ = std::make_unique<RtAudio>(which, &on_error);
#else
      audio_ = std::make_unique<RtAudio>(which);
      audio_->showWarnings(false);
#endif
      if (audio_->getCurrentApi() != which || audio_->getDeviceCount() == 0) return false;
      RtAudio::StreamParameters out;
      out.deviceId = audio_->getDefaultOutputDevice();
      out.nChannels = 2;
      RtAudio::StreamOptions options;
      // Three buffers cap PulseAudio's target length (it would otherwise buffer about 2 s); the
      // callback thread runs at real-time priority so that three are enough under load.
      options.flags = RTAUDIO_SCHEDULE_REALTIME | RTAUDIO_ALSA_USE_DEFAULT;
      options.numberOfBuffers = 3;
      // PulseAudio restarts a stream that ran dry only once it holds its start threshold again, so a stall
      // of a few milliseconds became a 30 ms silence with three; a fourth keeps the latency under 20 ms.
      if (api_ == DeviceApi::pulse) options.numberOfBuffers = 4;
      // DirectSound (under wine in particular) gapped with less than about 40 ms queued.
      if (api_ == DeviceApi::directsound) options.numberOfBuffers = 8;
      options.priority = kPriority;
      options.streamName = "Raziz";
      unsigned frames = static_cast<unsigned>(request_.buffer_frames);
      // DirectSound takes at most 16 bits: we quantize with dither ourselves rather than let RtAudio round.
      sixteen_bits_ = api_ == DeviceApi::directsound;
      const RtAudioFormat format = sixteen_bits_ ? RTAUDIO_SINT16 : RTAUDIO_FLOAT32;
#ifdef RAZIZ_RTAUDIO_6
      if (audio_->openStream(&out, nullptr, format, static_cast<unsigned>(request_.sample_rate), &frames,
                             &RtAudioStream::callback, this, &options) != RTAUDIO_NO_ERROR)
        return false;
      if (sixteen_bits_) scratch_.assign(2 * static_cast<std::size_t>(frames), 0.0f);
      if (audio_->startStream() != RTAUDIO_NO_ERROR) return false;
#else
      audio_->openStream(&out, nullptr, format, static_cast<unsigned>(request_.sample_rate), &frames,
                         &RtAudioStream::callback, this, &options, &on_error);
      if (!audio_->isStreamOpen()) return false;
      if (sixteen_bits_) scratch_.assign(2 * static_cast<std::size_t>(frames), 0.0f);
      audio_->startStream();
#endif
      frames_ = static_cast<int>(frames);
      queued_frames_ = frames_ * static_cast<int>(options.numberOfBuffers);
      if (api_ == DeviceApi::pulse) raise_pulse_io_threads(kPriority);
      return audio_->isStreamRunning();
    } catch (const std::exception&) { return false; }
  }

  bool failed() const override { return g_stream_errors.load() != errors_at_open_; }
  std::uint64_t underruns() const override { return underruns_.load(std::memory_order_relaxed); }

  void close() override {
    if (!audio_) return;
#ifdef _WIN32
    // Below DirectSound and WASAPI (wine's in particular) more is queued than the stream's own buffer, and
    // stopping the stream drops it: what was rendered before the exit fade would end in a click. Let it
    // play out first; the renderer is silent by now.
    if (audio_->isStreamRunning() && request_.sample_rate > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1000LL * queued_frames_ / request_.sample_rate + 250));
    }
#endif
    try {
      if (audio_->isStreamRunning()) audio_->stopStream();
      if (audio_->isStreamOpen()) audio_->closeStream();
    } catch (const std::exception&) {}
    audio_.reset();
  }

  const char* api() const override {
    switch (api_) {
      case DeviceApi::pulse: return "pulse";
      case DeviceApi::alsa: return "alsa";
      case DeviceApi::wasapi: return "wasapi";
      case DeviceApi::directsound: return "directsound";
    }
    return "unknown";
  }
  int buffer_frames() const override { return frames_; }

 private:
  static int callback(void* out, void*, unsigned frames, double, RtAudioStreamStatus status, void* user) {
    auto* self = static_cast<RtAudioStream*>(user);
    if (status & RTAUDIO_OUTPUT_UNDERFLOW) self->underruns_.fetch_add(1, std::memory_order_relaxed);
    // After an error the device is gone: stop the callback loop until the owner closes us.
    if (self->failed()) return 2;
    if (!self->sixteen_bits_) {
      self->request_.render(self->request_.user, static_cast<float*>(out), static_cast<int>(frames));
      return 0;
    }
    auto* pcm = static_cast<std::int16_t*>(out);
    const int chunk = static_cast<int>(self->scratch_.size() / 2);
    for (int done = 0, left = static_cast<int>(frames); left > 0 && chunk > 0;) {
      const int n = std::min(left, chunk);
      self->request_.render(self->request_.user, self->scratch_.data(), n);
      self->quantizer_.quantize(self->scratch_.data(), pcm + 2 * done, 2 * n);
      done += n;
      left -= n;
    }
    return 0;
  }

  static constexpr int kPriority = 70;
  StreamRequest request_;
  DeviceApi api_;
  unsigned errors_at_open_ = 0;
  int frames_ = 0;
  int queued_frames_ = 0;
  bool sixteen_bits_ = false;
  std::vector<float> scratch_;  // the float frames, before quantizing; sized when the stream opens
  TpdfQuantizer quantizer_;
  std::atomic<std::uint64_t> underruns_{0};
  std::unique_ptr<RtAudio> audio_;
};

}  // namespace

#ifdef RAZIZ_RTAUDIO_MODULE
}  // namespace raziz::device

// The module's entry point (rtaudio_module.h): C linkage, so the program finds it by its plain name.
extern "C" __attribute__((visibility("default"))) raziz::device::OutputStream* raziz_open_rtaudio_stream(
    raziz::device::DeviceApi api, const raziz::device::StreamRequest* request) {
  static_assert(std::is_same_v<decltype(&raziz_open_rtaudio_stream), raziz::device::OpenRtAudioStream>);
  auto stream = std::make_unique<raziz::device::RtAudioStream>(api, *request);
  if (!stream->open()) return nullptr;
  return stream.release();
}
#else
std::unique_ptr<OutputStream> open_device_stream(DeviceApi api, const StreamRequest& request) {
#ifdef _WIN32
  // RtAudio's WASAPI output builds a Media Foundation resampler even when the rates match (and crashes
  // where there is none, as under wine); ours carries float at the mix rate without one.
  if (api == DeviceApi::wasapi) return open_wasapi_stream(request);
#endif
  auto stream = std::make_unique<RtAudioStream>(api, request);
  if (!stream->open()) return nullptr;
  return stream;
}

}  // namespace raziz::device
#endif
