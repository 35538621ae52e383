#include "tests/robustness/probe.h"

#if defined(__SANITIZE_ADDRESS__)
#define RAZIZ_PROBE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RAZIZ_PROBE_ASAN 1
#endif
#endif

#ifdef RAZIZ_PROBE_ASAN
// From the sanitizer runtime (GCC ships no header for it).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*on_malloc)(const volatile void*, std::size_t),
                                                         void (*on_free)(const volatile void*));
#endif

namespace raziz::robustness {
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

}  // namespace raziz::robustness

extern "C" void raziz_probe_allocation(std::size_t bytes) {
  using namespace raziz::robustness;
  if (!t_armed) return;
  ++t_counts.allocations;
  if (bytes > t_counts.largest_allocation) t_counts.largest_allocation = bytes;
}

extern "C" void raziz_probe_lock(void) {
  using namespace raziz::robustness;
  if (t_armed) ++t_counts.locks;
}
