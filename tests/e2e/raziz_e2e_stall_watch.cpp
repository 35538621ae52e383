// raziz-e2e-stall-watch MIN_MS: watches whether this machine lets a real-time thread run when it should.
//
// One thread per CPU, pinned to it and at the priority the program's sound thread asks for, sleeps 1 ms at
// a time. When a wake-up comes MIN_MS or more late, it prints "SECONDS CPU LATE_MS" (SECONDS on
// CLOCK_MONOTONIC, the clock Python's time.monotonic() reads) and flushes. A kernel without preemption, on a
// virtual machine in particular, can hold a CPU for over ten milliseconds in a fork or a page-table walk;
// a sound stream with 16 ms queued then runs dry on any program, and the end-to-end checks must know when.
// Runs until killed.
#include <pthread.h>
#include <sched.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace {

std::mutex g_print;

double seconds(const timespec& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9; }

void watch(int cpu, double min_ms) {
  cpu_set_t set;
  CPU_ZERO(&set);
  CPU_SET(cpu, &set);
  pthread_setaffinity_np(pthread_self(), sizeof set, &set);
  // The sound thread's priority; without the right to it the watch still runs, only less exactly.
  sched_param param{};
  param.sched_priority = 70;
  pthread_setschedparam(pthread_self(), SCHED_RR, &param);
  const timespec nap{0, 1'000'000};
  for (;;) {
    timespec before{}, after{};
    clock_gettime(CLOCK_MONOTONIC, &before);
    clock_nanosleep(CLOCK_MONOTONIC, 0, &nap, nullptr);
    clock_gettime(CLOCK_MONOTONIC, &after);
    const double late_ms = (seconds(after) - seconds(before)) * 1000.0 - 1.0;
    if (late_ms >= min_ms) {
      std::lock_guard lock(g_print);
      std::printf("%.4f %d %.1f\n", seconds(before), cpu, late_ms);
      std::fflush(stdout);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::atof(argv[1]) <= 0) {
    std::fprintf(stderr, "usage: raziz-e2e-stall-watch MIN_MS\n");
    return 2;
  }
  const double min_ms = std::atof(argv[1]);
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  sched_getaffinity(0, sizeof allowed, &allowed);
  std::vector<std::thread> threads;
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
    if (CPU_ISSET(cpu, &allowed)) threads.emplace_back(watch, cpu, min_ms);
  for (auto& t : threads) t.join();
}
