#include "tests/e2e/stall_watch.h"

#include <pthread.h>
#include <sched.h>

#include <utility>

namespace raziz::test {

StallWatch::StallWatch(double min_ms, Report report) : min_ms_(min_ms), report_(std::move(report)) {
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  sched_getaffinity(0, sizeof allowed, &allowed);
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
    if (CPU_ISSET(cpu, &allowed)) threads_.emplace_back([this, cpu] { watch(cpu); });
}

StallWatch::~StallWatch() {
  stop_ = true;
  for (std::thread& t : threads_) t.join();
}

bool StallWatch::stalled_between(Clock::time_point from, Clock::time_point to) const {
  std::lock_guard lock(mutex_);
  for (const Clock::time_point at : stalls_)
    if (at >= from && at <= to) return true;
  return false;
}

void StallWatch::watch(int cpu) {
  cpu_set_t set;
  CPU_ZERO(&set);
  CPU_SET(cpu, &set);
  pthread_setaffinity_np(pthread_self(), sizeof set, &set);
  // The sound thread's priority; without the right to it the watch still runs, only less exactly.
  sched_param param{};
  param.sched_priority = 70;
  pthread_setschedparam(pthread_self(), SCHED_RR, &param);
  const auto nap = std::chrono::milliseconds(1);
  while (!stop_) {
    const Clock::time_point before = Clock::now();
    std::this_thread::sleep_for(nap);
    const double late_ms = std::chrono::duration<double, std::milli>(Clock::now() - before - nap).count();
    if (late_ms >= min_ms_) {
      std::lock_guard lock(mutex_);
      stalls_.push_back(before);
      if (report_) report_(before, cpu, late_ms);
    }
  }
}

}  // namespace raziz::test
