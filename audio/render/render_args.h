#pragma once
// The command line of raziz-render, parsed without side effects so it can be tested and fuzzed.
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace raziz {

struct ToneSpec {
  float hz = 0.0f;
  float waveform = 0.0f;  // the mixer's waveform value: 0 sine, 1 square, 4 triangle
  float level = 0.0f;     // passed to the channel as given; the mixer clamps what it plays
};

struct RenderOptions {
  int rate = 48000;
  double seconds = 1.0;
  std::vector<ToneSpec> tones;
  std::vector<double> toggles;  // seconds, in the order given
  std::string wav_path;         // empty: raw float32 little-endian stereo to standard output
  bool help = false;
};

// args excludes the program name. On a bad argument returns nothing and sets error to one line
// naming it.
std::optional<RenderOptions> parse_render_args(std::span<const std::string> args, std::string& error);

extern const char* const kRenderUsage;

}  // namespace raziz
