#pragma once
// Watches whether this machine lets a real-time thread run when it should. One thread per CPU, pinned to it
// at the sound thread's priority, sleeps 1 ms at a time and notes each wake-up that comes `min_ms` or more
// late. A kernel without preemption can hold a CPU that long in another process's page-table work; any
// sound chain then runs dry, and a gap in the recording is the machine's rather than the program's.
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace raziz::test {

class StallWatch {
 public:
  using Clock = std::chrono::steady_clock;

  // Told of each stall as it is seen, from the watching thread: when the late wake-up's sleep began, on which
  // CPU, and how late it came.
  using Report = std::function<void(Clock::time_point began, int cpu, double late_ms)>;

  explicit StallWatch(double min_ms, Report report = {});
  ~StallWatch();
  StallWatch(const StallWatch&) = delete;
  StallWatch& operator=(const StallWatch&) = delete;

  // True when a stall began between the two times.
  bool stalled_between(Clock::time_point from, Clock::time_point to) const;

 private:
  void watch(int cpu);

  const double min_ms_;
  const Report report_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<Clock::time_point> stalls_;
  std::vector<std::thread> threads_;
};

}  // namespace raziz::test
