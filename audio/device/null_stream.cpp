#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/device/output_stream.h"

namespace raziz::device {
namespace {

class NullStream final : public OutputStream {
 public:
  explicit NullStream(const StreamRequest& request)
      : request_(request), buffer_(static_cast<std::size_t>(request.buffer_frames) * 2) {
    thread_ = std::thread([this] { run(); });
  }
  ~NullStream() override { close(); }

  bool failed() const override { return false; }
  std::uint64_t underruns() const override { return 0; }
  const char* api() const override { return "null"; }
  int buffer_frames() const override { return request_.buffer_frames; }

  void close() override {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

 private:
  void run() {
    using clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<clock::duration>(
        std::chrono::duration<double>(static_cast<double>(request_.buffer_frames) / request_.sample_rate));
    auto next = clock::now();
    std::unique_lock lock(mutex_);
    while (!stop_) {
      lock.unlock();
      request_.render(request_.user, buffer_.data(), request_.buffer_frames);
      lock.lock();
      next += period;
      wake_.wait_until(lock, next, [this] { return stop_; });
    }
  }

  StreamRequest request_;
  std::vector<float> buffer_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace

std::unique_ptr<OutputStream> open_null_stream(const StreamRequest& request) {
  return std::make_unique<NullStream>(request);
}

}  // namespace raziz::device
