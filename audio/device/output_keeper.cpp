#include "audio/device/output_keeper.h"

#include <chrono>
#include <cstdlib>
#include <string>

namespace raziz::device {

OutputKeeper::OutputKeeper(const StreamRequest& request) : request_(request) {
  const char* choice = std::getenv("RAZIZ_AUDIO_OUTPUT");
  const std::string wanted = choice ? choice : "";
  if (wanted == "null") devices_allowed_ = false;
  else if (wanted == "pulse") apis_ = {DeviceApi::pulse};
  else if (wanted == "alsa") apis_ = {DeviceApi::alsa};
  else if (wanted == "wasapi") apis_ = {DeviceApi::wasapi};
  else if (wanted == "directsound") apis_ = {DeviceApi::directsound};
#ifdef _WIN32
  else apis_ = {DeviceApi::wasapi, DeviceApi::directsound};
#else
  else apis_ = {DeviceApi::pulse, DeviceApi::alsa};
#endif
  thread_ = std::thread([this] { run(); });
}

OutputKeeper::~OutputKeeper() { stop(); }

OutputStatus OutputKeeper::status() const {
  std::lock_guard lock(mutex_);
  return status_;
}

bool OutputKeeper::rendering() const {
  std::lock_guard lock(mutex_);
  return stream_ != nullptr;
}

void OutputKeeper::stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void OutputKeeper::set_stream(std::unique_ptr<OutputStream> stream) {
  std::unique_ptr<OutputStream> old;
  {
    std::lock_guard lock(mutex_);
    old = std::move(stream_);
  }
  if (old) old->close();   // the old one stops before the new one starts: one renderer at a time
  std::lock_guard lock(mutex_);
  stream_ = std::move(stream);
  status_.device_open = stream_ && std::string(stream_->api()) != "null";
  status_.api = stream_ ? stream_->api() : "none";
  status_.buffer_frames = stream_ ? stream_->buffer_frames() : 0;
  if (status_.device_open) ++status_.opens;
}

bool OutputKeeper::try_devices() {
  set_stream(nullptr);
  for (DeviceApi api : apis_) {
    if (auto stream = open_device_stream(api, request_)) {
      set_stream(std::move(stream));
      return true;
    }
  }
  set_stream(open_null_stream(request_));
  return false;
}

void OutputKeeper::run() {
  using namespace std::chrono_literals;
  bool on_device = devices_allowed_ && try_devices();
  if (!devices_allowed_) set_stream(open_null_stream(request_));
  std::unique_lock lock(mutex_);
  auto next_try = std::chrono::steady_clock::now() + 1s;
  while (!stop_) {
    // Poll often enough to notice a failed device quickly; retry closed devices once a second.
    wake_.wait_for(lock, 50ms, [this] { return stop_; });
    if (stop_) break;
    const bool failed = on_device && stream_ && stream_->failed();
    const bool retry = devices_allowed_ && !on_device && std::chrono::steady_clock::now() >= next_try;
    if (!failed && !retry) continue;
    lock.unlock();
    on_device = try_devices();
    lock.lock();
    next_try = std::chrono::steady_clock::now() + 1s;
  }
  lock.unlock();
  set_stream(nullptr);
}

}  // namespace raziz::device
