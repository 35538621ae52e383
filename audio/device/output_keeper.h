#pragma once
// Keeps an output stream going for as long as it lives, on a thread of its own so that no caller
// ever waits for a sound server: it opens the first device that works (PulseAudio, then ALSA; on
// Windows WASAPI, then DirectSound), falls back to the silent null stream when none does, notices
// when a device fails, and tries the devices again about once a second until one opens. Exactly one
// stream renders at any time. While a device plays, the thread sleeps: a stream that can report its
// failure wakes it, and it looks at the others once a second.
//
// RAZIZ_AUDIO_OUTPUT in the environment narrows the choice: "pulse", "alsa", "wasapi", "directsound" or
// "null".
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/device/output_stream.h"

namespace raziz::device {

struct OutputStatus {
  bool device_open = false;
  const char* api = "none";
  int buffer_frames = 0;
  std::uint64_t opens = 0;
  std::uint64_t underruns = 0;  // over every stream so far
};

class OutputKeeper {
 public:
  explicit OutputKeeper(const StreamRequest& request);
  ~OutputKeeper();
  OutputKeeper(const OutputKeeper&) = delete;
  OutputKeeper& operator=(const OutputKeeper&) = delete;

  OutputStatus status() const;
  // True while some stream (device or null) is rendering.
  bool rendering() const;
  // Closes the stream (a device stream plays out what it was given first) and ends the thread.
  void stop();

 private:
  void run();
  static void wake_on_failure(void* keeper);
  void set_stream(std::unique_ptr<OutputStream> stream);
  bool try_devices();

  StreamRequest request_;
  std::vector<DeviceApi> apis_;
  bool devices_allowed_ = true;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::unique_ptr<OutputStream> stream_;  // written by the keeper thread under mutex_
  OutputStatus status_;
  std::uint64_t underruns_of_closed_ = 0;
  std::thread thread_;
};

}  // namespace raziz::device
