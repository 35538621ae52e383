#include "audio/device/output_keeper.h"

#include <chrono>
#include <cstdlib>
#include <string>

namespace raziz::device {

OutputKeeper::OutputKeeper(const StreamRequest& request) : request_(request) {
  request_.on_failure = &OutputKeeper::wake_on_failure;
  request_.owner = this;
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
  OutputStatus status = status_;
  status.underruns = underruns_of_closed_ + (stream_ ? stream_->underruns() : 0);
  return status;
}

void OutputKeeper::wake_on_failure(void* keeper) {
  auto* self = static_cast<OutputKeeper*>(keeper);
  { std::lock_guard lock(self->mutex_); }  // the keeper is either waiting or will look before it waits
  self->wake_.notify_all();
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
  if (old) old->close();  // the old one stops before the new one starts: one renderer at a time
  std::lock_guard lock(mutex_);
  if (old) underruns_of_closed_ += old->underruns();
  stream_ = std::move(stream);
  status_.device_open = stream_ && std::string(stream_->api()) != "null";
  status_.api = stream_ ? stream_->api() : "none";
  status_.buffer_frames = stream_ ? stream_->buffer_frames() : 0;
  if (status_.device_open) ++status_.opens;
}

bool OutputKeeper::try_devices() {
  set_stream(nullptr);
  for (DeviceApi api : apis_) {
    std::unique_ptr<OutputStream> stream;
#ifdef RAZIZ_HAVE_PULSE
    if (api == DeviceApi::pulse) stream = open_pulse_stream(request_);
#endif
    if (!stream) stream = open_device_stream(api, request_);
    if (stream) {
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
    // Retry closed devices once a second. On a device, look often for a failure that the stream could not
    // tell us of at once (RtAudio's streams cannot), so the sound comes back soon after a server does.
    const auto now = std::chrono::steady_clock::now();
    const auto until = !on_device ? next_try : stream_ && !stream_->reports_failure() ? now + 50ms : now + 1s;
    wake_.wait_until(lock, until, [&] { return stop_ || (on_device && stream_ && stream_->failed()); });
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
