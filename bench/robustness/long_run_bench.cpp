// An hour of the nine bands, rendered offline in device-sized blocks with every band's rate, waveform, level
// and mute changing each minute: the processor time each minute of sound takes to render. Denormal numbers or anything
// else that builds up over a long run would make the late minutes slower than the early ones.
//   last_over_first: median of the last five minutes over the median of the first five (about 1 when flat)
//   realtime_x: how many times faster than real time the hour rendered
// The run is flagged as an error when the late minutes take more than twice as long.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include <time.h>

#include "audio/tone_bank.h"

namespace {

using raziz::AudioOutput;
using raziz::ToneBank;
using raziz::Waveform;

// The rendering thread's own processor time, so other load on the machine does not count.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void BM_HourOfNineBands(benchmark::State& state) {
  constexpr int kRate = 48000;
  constexpr int kBlocksPerMinute = 60 * kRate / raziz::mixer::kBlockFrames;
  std::vector<float> block(2 * raziz::mixer::kBlockFrames);
  std::vector<double> minutes;
  for (auto _ : state) {
    ToneBank bank;
    raziz::start(bank, AudioOutput::offline);
    minutes.clear();
    for (int minute = 0; minute < 60; ++minute) {
      // The settings repeat every five minutes, so the first five and the last five do the same work.
      for (int band = 0; band < raziz::kBandCount; ++band) {
        const int turn = (minute + band) % 5;
        raziz::set_rate(bank, band, static_cast<float>(raziz::kBandFrequencies[band] + 10 * turn));
        raziz::set_waveform(bank, band, static_cast<Waveform>(turn % 3));
        raziz::set_level(bank, band, turn == 4 ? 1e-39f : 0.05f * static_cast<float>(turn + 1));
        if (bank.channels[band].sounding != (turn != 3)) raziz::toggle(bank, band);
      }
      const double begin = ThreadSeconds();
      for (int i = 0; i < kBlocksPerMinute; ++i)
        raziz::mixer::System_Render(bank.system, block.data(), raziz::mixer::kBlockFrames);
      benchmark::DoNotOptimize(block.data());
      minutes.push_back(ThreadSeconds() - begin);
    }
    raziz::shutdown(bank);
  }
  const std::vector<double> first(minutes.begin(), minutes.begin() + 5), last(minutes.end() - 5, minutes.end());
  double total = 0;
  for (double m : minutes) total += m;
  const double ratio = Median(last) / Median(first);
  state.counters["first_minute_ms"] = 1e3 * Median(first);
  state.counters["last_minute_ms"] = 1e3 * Median(last);
  state.counters["last_over_first"] = ratio;
  state.counters["realtime_x"] = 3600.0 / total;
  if (ratio > 2.0) state.SkipWithError("the last minutes of the hour render more than twice as slowly as the first");
}
BENCHMARK(BM_HourOfNineBands)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
