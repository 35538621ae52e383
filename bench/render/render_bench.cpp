// Render cost of the mixer with all nine bands sounding. The "realtime" counter is seconds of
// sound rendered per second of CPU: the target is at least 500 with any waveform mix.
#include <benchmark/benchmark.h>

#include <vector>

#include "audio/mixer/mixer.h"
#include "audio/tone_bank.h"

namespace {

namespace mx = raziz::mixer;

constexpr int kRate = 48000;

void render_nine(benchmark::State& state, const float (&waveforms)[raziz::kBandCount]) {
  mx::System* system = nullptr;
  mx::System_Create(&system);
  mx::System_Init(system, 32, mx::INIT_OFFLINE, nullptr);
  for (int band = 0; band < raziz::kBandCount; ++band) {
    mx::DSP* dsp = nullptr;
    mx::Channel* channel = nullptr;
    mx::System_CreateDSPByType(system, mx::DSP_TYPE_OSCILLATOR, &dsp);
    mx::DSP_SetParameter(dsp, mx::OSCILLATOR_TYPE, waveforms[band]);
    mx::DSP_SetParameter(dsp, mx::OSCILLATOR_RATE, static_cast<float>(raziz::kBandFrequencies[band]));
    mx::System_PlayDSP(system, -1, dsp, false, &channel);
    mx::Channel_SetVolume(channel, 0.1f);
  }
  // One second per iteration, in device-sized buffers.
  std::vector<float> buffer(2 * mx::kBlockFrames);
  for (int i = 0; i < kRate / mx::kBlockFrames; ++i) mx::System_Render(system, buffer.data(), mx::kBlockFrames);
  for (auto _ : state) {
    for (int i = 0; i < kRate / mx::kBlockFrames; ++i) mx::System_Render(system, buffer.data(), mx::kBlockFrames);
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  const double seconds_rendered =
      static_cast<double>(state.iterations()) * (kRate / mx::kBlockFrames) * mx::kBlockFrames / kRate;
  state.counters["realtime"] = benchmark::Counter(seconds_rendered, benchmark::Counter::kIsRate);
  mx::System_Close(system);
  mx::System_Release(system);
}

void NineSines(benchmark::State& state) {
  constexpr float w[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
  render_nine(state, w);
}
void NineSquares(benchmark::State& state) {
  constexpr float w[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
  render_nine(state, w);
}
void NineTriangles(benchmark::State& state) {
  constexpr float w[9] = {4, 4, 4, 4, 4, 4, 4, 4, 4};
  render_nine(state, w);
}
void NineMixed(benchmark::State& state) {
  constexpr float w[9] = {0, 1, 4, 0, 1, 4, 0, 1, 4};
  render_nine(state, w);
}

BENCHMARK(NineSines)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(NineSquares)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(NineTriangles)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(NineMixed)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
