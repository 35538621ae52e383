// The render path runs on the sound device's thread in real time: it must never allocate, lock or wait. The
// nine bands are rendered on a thread of their own, as the device would, while this thread changes rates (odd
// ones too: zero, negative, beyond Nyquist, NaN), waveforms, levels and mutes, two changes per rendered block;
// the probe counts what the rendering thread did.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "audio/tone_bank.h"
#include "tests/robustness/probe.h"

namespace raziz::test {
namespace {

// The probe sees what it is meant to see, so a zero below means something.
TEST(RealTimeProbe, CountsAllocationsLocksAndWaitsOnTheArmedThreadOnly) {
  std::mutex mutex;
  std::condition_variable never;
  ArmProbe();
  auto owned = std::make_unique<std::vector<int>>(1000);
  {
    std::unique_lock lock(mutex);
    never.wait_for(lock, std::chrono::microseconds(10));
  }
  std::this_thread::yield();
  const ProbeCounts seen = DisarmProbe();
  EXPECT_GE(seen.allocations, 2u);
  EXPECT_GE(seen.largest_allocation, 1000 * sizeof(int));
  EXPECT_GE(seen.locks, 3u);  // the lock, the wait, the yield

  ArmProbe();
  std::thread other([] {
    auto elsewhere = std::make_unique<int>(1);
    std::mutex m;
    m.lock();
    m.unlock();
  });
  other.join();
  const ProbeCounts here = DisarmProbe();
  EXPECT_LE(here.allocations, 2u);  // the thread's own bookkeeping, made here; nothing of its body
  EXPECT_LE(here.locks, 1u);        // the join
}

TEST(RealTimeSafety, RenderingNineBandsNeverAllocatesLocksOrWaitsWhileSettingsChange) {
  ToneBank bank;
  start(bank, AudioOutput::offline);
  for (int band = 0; band < 9; ++band) toggle(bank, band);

  // The device renders until every change has been made, and at least a minute of sound.
  constexpr int kChanges = 20000;
  constexpr long kMinimumBlocks = 48000 * 60 / mixer::kBlockFrames;
  std::atomic<bool> changing{false};
  std::atomic<bool> changed{false};
  std::atomic<long> progress{0};  // blocks rendered, so the changes can be spread over the render
  ProbeCounts seen;
  long blocks = 0;
  float peak = 0.0f;
  bool finite = true;

  std::thread device([&] {
    std::vector<float> out(2 * mixer::kBlockFrames);
    while (!changing.load()) {}
    ArmProbe();
    for (; blocks < kMinimumBlocks || !changed.load(); ++blocks) {
      mixer::System_Render(bank.system, out.data(), mixer::kBlockFrames);
      progress.store(blocks, std::memory_order_relaxed);
      for (float v : out) {
        finite = finite && std::isfinite(v) && std::fabs(v) <= 1.0f;
        peak = std::fmax(peak, std::fabs(v));
      }
    }
    seen = DisarmProbe();
  });

  std::mt19937 random(20240611);
  const float rates[] = {0.0f,
                         -5.0f,
                         20.0f,
                         500.0f,
                         997.5f,
                         3150.0f,
                         11999.0f,
                         23999.0f,
                         24000.0f,
                         96000.0f,
                         std::numeric_limits<float>::quiet_NaN()};
  const float levels[] = {0.0f, 0.2f, 0.5f, 1.0f, 1.5f, 1e-39f, std::numeric_limits<float>::quiet_NaN()};
  changing.store(true);
  for (int change = 0; change < kChanges; ++change) {
    while (progress.load(std::memory_order_relaxed) < change / 2) {  // two changes a block
    }
    const int band = static_cast<int>(random() % 9);
    switch (random() % 4) {
      case 0: set_rate(bank, band, rates[random() % std::size(rates)]); break;
      case 1: set_waveform(bank, band, static_cast<Waveform>(random() % 3)); break;
      case 2: set_level(bank, band, levels[random() % std::size(levels)]); break;
      default: toggle(bank, band); break;
    }
  }
  changed.store(true);
  device.join();
  shutdown(bank);

  EXPECT_EQ(seen.allocations, 0u) << "largest request " << seen.largest_allocation << " bytes";
  EXPECT_EQ(seen.locks, 0u);
  EXPECT_GE(blocks, kMinimumBlocks);
  EXPECT_TRUE(finite) << "a sample was not a number or beyond full scale";
  EXPECT_GT(peak, 0.0f) << "nothing sounded";
}

}  // namespace
}  // namespace raziz::test
