#include "tests/robustness/probe.h"

#if defined(__SANITIZE_ADDRESS__)
#define RAZIZ_PROBE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RAZIZ_PROBE_ASAN 1
#endif
#endif

#include <malloc.h>
#include <unistd.h>

#include <cstdio>

#ifdef RAZIZ_PROBE_ASAN
// From the sanitizer runtime (GCC ships no header for them).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*on_malloc)(const volatile void*, std::size_t),
                                                         void (*on_free)(const volatile void*));
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace raziz::test {
namespace {

// Static TLS of the executable: reading it allocates nothing, so the allocator itself may use it.
thread_local bool t_armed = false;
thread_local ProbeCounts t_counts;

#ifdef RAZIZ_PROBE_ASAN
void OnMalloc(const volatile void*, std::size_t size) { raziz_probe_allocation(size); }
void OnFree(const volatile void*) {}
const int g_hooks_installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
#endif

}  // namespace

void ArmProbe() {
  t_counts = ProbeCounts{};
  t_armed = true;
}

ProbeCounts DisarmProbe() {
  t_armed = false;
  return t_counts;
}

std::size_t HeapBytesInUse() {
#ifdef RAZIZ_PROBE_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

bool FreedMemoryIsHeldBack() {
#ifdef RAZIZ_PROBE_ASAN
  return true;
#else
  return false;
#endif
}

std::size_t ResidentBytes() {
  long pages = 0, resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<std::size_t>(resident) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace raziz::test

extern "C" void raziz_probe_allocation(std::size_t bytes) {
  using namespace raziz::test;
  if (!t_armed) return;
  ++t_counts.allocations;
  if (bytes > t_counts.largest_allocation) t_counts.largest_allocation = bytes;
}

extern "C" void raziz_probe_lock(void) {
  using namespace raziz::test;
  if (t_armed) ++t_counts.locks;
}
