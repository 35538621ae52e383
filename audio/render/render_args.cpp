#include "audio/render/render_args.h"

#include <charconv>
#include <cmath>

namespace raziz {

const char* const kRenderUsage =
    "usage: raziz-render [--rate HZ] [--seconds S] [--tone HZ:WAVE:LEVEL]... [--toggle T]... [--wav FILE]\n"
    "  Renders tones through the mixer. WAVE is sine, square or triangle; each tone plays on its own\n"
    "  channel, unmuted from the start; each --toggle T flips every channel's mute at T seconds.\n"
    "  Without --wav, writes raw float32 little-endian interleaved stereo to standard output.\n";

namespace {

constexpr int kMaxTones = 4096;
constexpr double kMaxSeconds = 86400.0;

std::optional<double> number(const std::string& text) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc{} || ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<ToneSpec> tone(const std::string& text) {
  const auto first = text.find(':');
  if (first == std::string::npos) return std::nullopt;
  const auto second = text.find(':', first + 1);
  if (second == std::string::npos) return std::nullopt;
  const auto hz = number(text.substr(0, first));
  const std::string wave = text.substr(first + 1, second - first - 1);
  const auto level = number(text.substr(second + 1));
  if (!hz || !level || std::abs(*hz) > 1e30 || std::abs(*level) > 1e30) return std::nullopt;
  ToneSpec parsed;
  parsed.hz = static_cast<float>(*hz);
  parsed.level = static_cast<float>(*level);
  if (wave == "sine") parsed.waveform = 0.0f;
  else if (wave == "square") parsed.waveform = 1.0f;
  else if (wave == "triangle") parsed.waveform = 4.0f;
  else return std::nullopt;
  return parsed;
}

}  // namespace

std::optional<RenderOptions> parse_render_args(std::span<const std::string> args, std::string& error) {
  RenderOptions options;
  auto fail = [&](const std::string& name, const std::string& value, const char* expected) {
    error = name + ": expected " + expected + ", got '" + value + "'";
    return std::nullopt;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
      continue;
    }
    if (name != "--rate" && name != "--seconds" && name != "--tone" && name != "--toggle" && name != "--wav") {
      error = name + ": unknown argument";
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      error = name + ": missing value";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (name == "--rate") {
      const auto v = number(value);
      if (!v || *v != std::floor(*v) || *v < 8000 || *v > 384000)
        return fail(name, value, "a whole number of Hz from 8000 to 384000");
      options.rate = static_cast<int>(*v);
    } else if (name == "--seconds") {
      const auto v = number(value);
      if (!v || *v <= 0 || *v > kMaxSeconds) return fail(name, value, "seconds above 0, at most 86400");
      options.seconds = *v;
    } else if (name == "--tone") {
      const auto parsed = tone(value);
      if (!parsed) return fail(name, value, "HZ:WAVE:LEVEL with WAVE sine, square or triangle");
      if (options.tones.size() >= static_cast<std::size_t>(kMaxTones)) {
        error = name + ": at most 4096 tones";
        return std::nullopt;
      }
      options.tones.push_back(*parsed);
    } else if (name == "--toggle") {
      const auto v = number(value);
      if (!v || *v < 0 || *v > kMaxSeconds) return fail(name, value, "a time in seconds from 0 to 86400");
      options.toggles.push_back(*v);
    } else {
      if (value.empty()) return fail(name, value, "a file name");
      options.wav_path = value;
    }
  }
  return options;
}

}  // namespace raziz
