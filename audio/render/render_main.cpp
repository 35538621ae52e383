// raziz-render: renders tones through the mixer library into a file or standard output.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/mixer/mixer.h"
#include "audio/render/render_args.h"
#include "audio/render/sample_sink.h"

namespace mx = raziz::mixer;

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = raziz::parse_render_args(args, error);
  if (!options) {
    std::fprintf(stderr, "raziz-render: %s\n", error.c_str());
    return 2;
  }
  if (options->help) {
    std::fputs(raziz::kRenderUsage, stdout);
    return 0;
  }

  const auto frames = static_cast<std::uint64_t>(std::llround(options->seconds * options->rate));
  raziz::SampleSink sink(options->wav_path, options->rate, frames);
  if (!sink.ok()) {
    std::fprintf(stderr, "raziz-render: --wav: cannot write '%s'\n", options->wav_path.c_str());
    return 1;
  }

  mx::System* system = nullptr;
  mx::System_Create(&system);
  mx::System_SetSoftwareFormat(system, options->rate);
  mx::System_Init(system, std::max<int>(1, static_cast<int>(options->tones.size())), mx::INIT_OFFLINE, nullptr);
  std::vector<mx::Channel*> channels;
  for (const raziz::ToneSpec& tone : options->tones) {
    mx::DSP* dsp = nullptr;
    mx::Channel* channel = nullptr;
    mx::System_CreateDSPByType(system, mx::DSP_TYPE_OSCILLATOR, &dsp);
    mx::DSP_SetParameter(dsp, mx::OSCILLATOR_TYPE, tone.waveform);
    mx::DSP_SetParameter(dsp, mx::OSCILLATOR_RATE, tone.hz);
    mx::System_PlayDSP(system, -1, dsp, true, &channel);
    mx::Channel_SetVolume(channel, tone.level);
    mx::Channel_SetPaused(channel, false);
    channels.push_back(channel);
  }

  std::vector<std::uint64_t> toggles;
  for (double t : options->toggles) toggles.push_back(static_cast<std::uint64_t>(std::llround(t * options->rate)));
  std::sort(toggles.begin(), toggles.end());

  constexpr int kChunk = 4096;
  std::vector<float> buffer(2 * kChunk);
  std::uint64_t done = 0;
  std::size_t next_toggle = 0;
  while (done < frames) {
    while (next_toggle < toggles.size() && toggles[next_toggle] <= done) {
      for (mx::Channel* channel : channels) {
        bool mute = false;
        mx::Channel_GetMute(channel, &mute);
        mx::Channel_SetMute(channel, !mute);
      }
      ++next_toggle;
    }
    std::uint64_t end = std::min<std::uint64_t>(frames, done + kChunk);
    if (next_toggle < toggles.size()) end = std::min(end, toggles[next_toggle]);
    const int n = static_cast<int>(end - done);
    mx::System_Render(system, buffer.data(), n);
    sink.write(buffer.data(), n);
    done = end;
  }
  mx::System_Close(system);
  mx::System_Release(system);
  if (!sink.finish()) {
    std::fprintf(stderr, "raziz-render: %s: write failed\n",
                 options->wav_path.empty() ? "stdout" : options->wav_path.c_str());
    return 1;
  }
  return 0;
}
