// raziz-render's command line from arbitrary bytes, split into arguments at each NUL. A parse either fails
// with a one-line message or gives options that the renderer can use as they are.

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/render/render_args.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) args.emplace_back();
    else args.back().push_back(static_cast<char>(data[i]));
  }
  if (size == 0) args.clear();

  std::string error;
  const auto options = raziz::parse_render_args(args, error);
  if (!options) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  FUZZ_CHECK(options->rate >= 8000 && options->rate <= 384000);
  FUZZ_CHECK(std::isfinite(options->seconds) && options->seconds > 0 && options->seconds <= 86400);
  FUZZ_CHECK(options->tones.size() <= 4096);
  for (const raziz::ToneSpec& tone : options->tones) {
    FUZZ_CHECK(std::isfinite(tone.hz) && std::isfinite(tone.level));
    FUZZ_CHECK(tone.waveform == 0.0f || tone.waveform == 1.0f || tone.waveform == 4.0f);
  }
  for (double t : options->toggles) FUZZ_CHECK(std::isfinite(t) && t >= 0 && t <= 86400);
  // Every argument is consumed as a name, a value or a flag: at most one tone or toggle per two of them.
  FUZZ_CHECK(2 * (options->tones.size() + options->toggles.size()) <= args.size());
  return 0;
}
