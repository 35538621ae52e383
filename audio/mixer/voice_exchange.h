#pragma once
// Hands an oscillator's voice (kind, table, increment) from the calling thread to the rendering
// thread as one consistent snapshot. A sequence lock: the single writer makes the count odd while it
// stores; a reader that sees an odd or changed count keeps what it had and tries again next block,
// so the rendering thread never waits.
#include <atomic>
#include <cstdint>

#include "audio/mixer/oscillator.h"

namespace raziz::mixer {

class VoiceExchange {
 public:
  void publish(const Voice& voice) {
    const std::uint32_t s = sequence_.load(std::memory_order_relaxed);
    sequence_.store(s + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    kind_.store(static_cast<int>(voice.kind), std::memory_order_relaxed);
    table_.store(voice.table, std::memory_order_relaxed);
    increment_.store(voice.increment, std::memory_order_relaxed);
    sequence_.store(s + 2, std::memory_order_release);
  }

  // False when a write was under way; out is then unchanged.
  bool read(Voice& out) const {
    const std::uint32_t before = sequence_.load(std::memory_order_acquire);
    if (before & 1u) return false;
    Voice v;
    v.kind = static_cast<VoiceKind>(kind_.load(std::memory_order_relaxed));
    v.table = table_.load(std::memory_order_relaxed);
    v.increment = increment_.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (sequence_.load(std::memory_order_relaxed) != before) return false;
    out = v;
    return true;
  }

 private:
  std::atomic<std::uint32_t> sequence_{0};
  std::atomic<int> kind_{0};
  std::atomic<const WaveTable*> table_{nullptr};
  std::atomic<double> increment_{0.0};
};

}  // namespace raziz::mixer
