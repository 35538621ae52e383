// Output through WASAPI in shared mode, in the engine's own format: 32-bit float at the mix rate, with as
// many channels as the mix has. The samples then reach the mix as they were rendered, with no 16-bit step
// and no resampler in between. A device mixing at another rate is asked to convert in the audio engine
// itself; where it refuses, the stream does not open and the keeper goes on to DirectSound.
#include "audio/device/wasapi_stream.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <audioclient.h>
#include <avrt.h>
#include <mmdeviceapi.h>
#include <mmreg.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <thread>
#include <vector>

namespace raziz::device {
namespace {

// KSDATAFORMAT_SUBTYPE_IEEE_FLOAT, spelt out: taking it from mingw-w64's headers needs an import library
// that is not always there.
constexpr GUID kSubtypeFloat = {0x00000003, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// The latency we aim at on Windows; it may round it up to its own period. Under wine, more made no
// difference: the short gaps heard there under load come from wine's own bridge to the sound server.
constexpr REFERENCE_TIME kBufferDuration = 200000;  // 20 ms, in units of 100 ns

// Without an event for this long the device is taken as gone.
constexpr DWORD kEventTimeoutMs = 500;
constexpr int kSilentWaitsBeforeFailing = 4;

template <typename T>
void release(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

class WasapiStream final : public OutputStream {
 public:
  explicit WasapiStream(const StreamRequest& request) : request_(request) {}
  ~WasapiStream() override {
    close();
    if (event_) CloseHandle(event_);
  }

  bool open() {
    std::promise<bool> opened;
    std::future<bool> result = opened.get_future();
    thread_ = std::thread([this, &opened] { run(opened); });
    if (result.get()) return true;
    thread_.join();
    return false;
  }

  bool failed() const override { return failed_.load(std::memory_order_acquire); }
  // Shared-mode WASAPI has no underrun flag for a client: a wake that finds the device's buffer already empty
  // is one (the engine played silence since the last top-up).
  std::uint64_t underruns() const override { return underruns_.load(std::memory_order_relaxed); }

  void close() override {
    if (!thread_.joinable()) return;
    // What was rendered before the exit fade is still queued below us (wine's bridge holds more than the
    // buffer): let it play out, the renderer being silent by now, before the stream stops.
    if (!failed() && request_.sample_rate > 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1000LL * buffer_frames_ / request_.sample_rate + 250));
    }
    stop_.store(true, std::memory_order_release);
    if (event_) SetEvent(event_);
    thread_.join();
  }

  const char* api() const override { return "wasapi"; }
  int buffer_frames() const override { return static_cast<int>(buffer_frames_); }

 private:
  // Everything COM happens on this one thread: set-up, the render loop, and release.
  void run(std::promise<bool>& opened) {
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    const bool ok = com && set_up();
    opened.set_value(ok);  // `opened` lives in open() only until this returns
    if (ok) loop();
    tear_down();
    if (com) CoUninitialize();
  }

  bool set_up() {
    IMMDeviceEnumerator* devices = nullptr;
    IMMDevice* device = nullptr;
    WAVEFORMATEX* mix = nullptr;
    bool ok = false;
    do {
      if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                  reinterpret_cast<void**>(&devices))))
        break;
      if (FAILED(devices->GetDefaultAudioEndpoint(eRender, eConsole, &device))) break;
      if (FAILED(device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, reinterpret_cast<void**>(&client_))))
        break;
      if (FAILED(client_->GetMixFormat(&mix)) || !mix || mix->nChannels < 1) break;

      channels_ = mix->nChannels;
      WAVEFORMATEXTENSIBLE format{};
      format.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
      format.Format.nChannels = static_cast<WORD>(channels_);
      format.Format.nSamplesPerSec = static_cast<DWORD>(request_.sample_rate);
      format.Format.wBitsPerSample = 32;
      format.Format.nBlockAlign = static_cast<WORD>(4 * channels_);
      format.Format.nAvgBytesPerSec = format.Format.nSamplesPerSec * format.Format.nBlockAlign;
      format.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
      format.Samples.wValidBitsPerSample = 32;
      format.dwChannelMask = mix->wFormatTag == WAVE_FORMAT_EXTENSIBLE
                                 ? reinterpret_cast<const WAVEFORMATEXTENSIBLE*>(mix)->dwChannelMask
                                 : (channels_ == 1   ? SPEAKER_FRONT_CENTER
                                    : channels_ == 2 ? SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT
                                                     : 0);
      format.SubFormat = kSubtypeFloat;

      DWORD flags = AUDCLNT_STREAMFLAGS_EVENTCALLBACK;
      if (mix->nSamplesPerSec != format.Format.nSamplesPerSec)
        flags |= AUDCLNT_STREAMFLAGS_AUTOCONVERTPCM | AUDCLNT_STREAMFLAGS_SRC_DEFAULT_QUALITY;
      if (FAILED(client_->Initialize(AUDCLNT_SHAREMODE_SHARED, flags, kBufferDuration, 0,
                                     reinterpret_cast<const WAVEFORMATEX*>(&format), nullptr)))
        break;
      if (FAILED(client_->GetBufferSize(&buffer_frames_)) || buffer_frames_ == 0) break;
      if (FAILED(client_->GetService(__uuidof(IAudioRenderClient), reinterpret_cast<void**>(&render_)))) break;
      event_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
      if (!event_ || FAILED(client_->SetEventHandle(event_))) break;
      // Stereo goes straight into the device's buffer; other layouts take it from here.
      if (channels_ != 2) stereo_.assign(2 * static_cast<std::size_t>(buffer_frames_), 0.0f);
      if (!fill()) break;  // start with something queued rather than an underrun
      ok = SUCCEEDED(client_->Start());
      running_ = ok;
    } while (false);
    CoTaskMemFree(mix);
    release(device);
    release(devices);
    return ok;
  }

  void loop() {
    DWORD task = 0;
    HANDLE mmcss = AvSetMmThreadCharacteristicsW(L"Pro Audio", &task);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    int silent_waits = 0;
    while (!stop_.load(std::memory_order_acquire)) {
      const DWORD woke = WaitForSingleObject(event_, kEventTimeoutMs);
      if (stop_.load(std::memory_order_acquire)) break;
      if (woke != WAIT_OBJECT_0) {
        if (++silent_waits < kSilentWaitsBeforeFailing) continue;
        failed_.store(true, std::memory_order_release);
        break;
      }
      silent_waits = 0;
      if (!fill()) {
        failed_.store(true, std::memory_order_release);
        break;
      }
    }
    if (mmcss) AvRevertMmThreadCharacteristics(mmcss);
  }

  // Tops the device's buffer up with rendered frames.
  bool fill() {
    UINT32 queued = 0;
    if (FAILED(client_->GetCurrentPadding(&queued))) return false;
    if (queued == 0 && running_) underruns_.fetch_add(1, std::memory_order_relaxed);
    const UINT32 frames = buffer_frames_ - std::min(queued, buffer_frames_);
    if (frames == 0) return true;
    BYTE* data = nullptr;
    if (FAILED(render_->GetBuffer(frames, &data))) return false;
    auto* out = reinterpret_cast<float*>(data);
    if (channels_ == 2) {
      request_.render(request_.user, out, static_cast<int>(frames));
    } else {
      request_.render(request_.user, stereo_.data(), static_cast<int>(frames));
      spread(out, frames);
    }
    return SUCCEEDED(render_->ReleaseBuffer(frames, 0));
  }

  // Mono takes the left channel (both carry the same signal); wider layouts get it on their front pair.
  void spread(float* out, UINT32 frames) const {
    for (UINT32 i = 0; i < frames; ++i) {
      float* frame = out + static_cast<std::size_t>(i) * channels_;
      std::fill(frame, frame + channels_, 0.0f);
      frame[0] = stereo_[2 * i];
      if (channels_ > 1) frame[1] = stereo_[2 * i + 1];
    }
  }

  void tear_down() {
    if (client_) client_->Stop();
    release(render_);
    release(client_);
  }

  StreamRequest request_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> failed_{false};
  std::atomic<std::uint64_t> underruns_{0};
  bool running_ = false;  // the device plays: an empty buffer from here on is an underrun (the render thread's own)
  IAudioClient* client_ = nullptr;
  IAudioRenderClient* render_ = nullptr;
  HANDLE event_ = nullptr;  // closed by the destructor: close() may still signal it
  UINT32 buffer_frames_ = 0;
  unsigned channels_ = 2;
  std::vector<float> stereo_;
};

}  // namespace

std::unique_ptr<OutputStream> open_wasapi_stream(const StreamRequest& request) {
  auto stream = std::make_unique<WasapiStream>(request);
  if (!stream->open()) return nullptr;
  return stream;
}

}  // namespace raziz::device
