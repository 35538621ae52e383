// raziz-e2e-stall-watch MIN_MS: watches whether this machine lets a real-time thread run when it should.
//
// Prints "SECONDS CPU LATE_MS" for each wake-up of the watch (tests/e2e/stall_watch.h) that comes MIN_MS or more
// late, SECONDS on CLOCK_MONOTONIC (the clock Python's time.monotonic() reads), and flushes. A kernel without
// preemption, on a virtual machine in particular, can hold a CPU for over ten milliseconds in a fork or a
// page-table walk; a sound stream with 16 ms queued then runs dry on any program, and the end-to-end checks
// must know when. Runs until killed.
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "tests/e2e/stall_watch.h"

int main(int argc, char** argv) {
  if (argc != 2 || std::atof(argv[1]) <= 0) {
    std::fprintf(stderr, "usage: raziz-e2e-stall-watch MIN_MS\n");
    return 2;
  }
  std::mutex print;
  // steady_clock is CLOCK_MONOTONIC here.
  raziz::test::StallWatch watch(std::atof(argv[1]), [&](auto began, int cpu, double late_ms) {
    std::lock_guard lock(print);
    std::printf("%.4f %d %.1f\n", std::chrono::duration<double>(began.time_since_epoch()).count(), cpu, late_ms);
    std::fflush(stdout);
  });
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}
