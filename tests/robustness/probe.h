#pragma once
// Watches one thread at a time for heap allocations and for calls that lock or wait. The test binary replaces
// the C allocator (or, under AddressSanitizer, installs its allocation hooks) and interposes the pthread lock,
// semaphore, condition-variable and sleep calls, so anything the watched code reaches, our own code, the C++
// library or libatomic, is counted.

#include <cstddef>
#include <cstdint>

namespace raziz::test {

struct ProbeCounts {
  std::uint64_t allocations = 0;
  std::size_t largest_allocation = 0;  // bytes of the largest single request
  std::uint64_t locks = 0;             // mutex, rwlock, spin lock, semaphore and condition waits, sleeps, yields
};

// Starts counting from zero on the calling thread.
void ArmProbe();
// Stops counting on the calling thread and returns what was seen since ArmProbe.
ProbeCounts DisarmProbe();

// Bytes the heap holds for the program now (the sanitizer's count under AddressSanitizer).
std::size_t HeapBytesInUse();

// The process's resident memory, in bytes.
std::size_t ResidentBytes();

// True under AddressSanitizer, which holds freed memory back for a while: resident memory then grows with
// every allocation and says nothing about leaks (HeapBytesInUse still does).
bool FreedMemoryIsHeldBack();

}  // namespace raziz::test

// Called by the C interposers.
extern "C" void raziz_probe_allocation(std::size_t bytes);
extern "C" void raziz_probe_lock(void);
