// Answers questions about a raw recording of the sound server's monitor (interleaved float32,
// little-endian): which tones are heard and how loud, whether it is silent, where it clicks.
//
//   raziz-e2e-sound length FILE
//   raziz-e2e-sound tones  FILE [range]
//   raziz-e2e-sound expect FILE [range] [--silent] [--tone HZ:AMP]... [--tone-above HZ:AMP]...
//                          [--harmonic HZ:N:RATIO]...
//                          [--others-below DBFS]
//   raziz-e2e-sound clicks FILE [range]
//   raziz-e2e-sound ending FILE [range]      the last sound fades out rather than stopping dead
// range: --from MS --to MS, or --last MS (counted back from the end of what was written so far).
// Other options: --rate 48000 --channels 2 --channel 0 --freq-tol 1.0 (Hz) --level-tol 0.5 (dB).
// "expect" and "clicks" exit 0 when the recording is as asked, 1 when not, 2 on a usage error.
#include "tests/e2e/sound_analysis.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

using raziz::e2e::analyse_tones;
using raziz::e2e::find_clicks;
using raziz::e2e::find_ending;

namespace {

struct Wanted {
  double freq, amp;
  bool at_least = false;  // amp is a lower bound
};

// A component at `multiple` times `fundamental`, `ratio` times as strong as the fundamental; ratio 0: absent.
struct Harmonic {
  double fundamental;
  int multiple;
  double ratio;
};

struct Args {
  std::string command, file;
  double rate = 48000, from_ms = -1, to_ms = -1, last_ms = -1;
  int channels = 2, channel = 0;
  double freq_tol = 1.0, level_tol_db = 0.5, others_below_db = 0;
  bool silent = false, others = false;
  std::vector<Wanted> tones;
  std::vector<Harmonic> harmonics;
};

[[noreturn]] void usage(const char* why) {
  std::fprintf(stderr, "raziz-e2e-sound: %s\n", why);
  std::exit(2);
}

Args parse(int argc, char** argv) {
  if (argc < 3) usage("usage: raziz-e2e-sound length|tones|expect|clicks FILE [options]");
  Args a;
  a.command = argv[1];
  a.file = argv[2];
  for (int i = 3; i < argc; ++i) {
    const std::string opt = argv[i];
    auto value = [&]() -> double {
      if (i + 1 >= argc) usage(("missing value after " + opt).c_str());
      return std::atof(argv[++i]);
    };
    if (opt == "--from") a.from_ms = value();
    else if (opt == "--to") a.to_ms = value();
    else if (opt == "--last") a.last_ms = value();
    else if (opt == "--rate") a.rate = value();
    else if (opt == "--channels") a.channels = static_cast<int>(value());
    else if (opt == "--channel") a.channel = static_cast<int>(value());
    else if (opt == "--freq-tol") a.freq_tol = value();
    else if (opt == "--level-tol") a.level_tol_db = value();
    else if (opt == "--others-below") {
      a.others = true;
      a.others_below_db = value();
    } else if (opt == "--silent") a.silent = true;
    else if (opt == "--tone" || opt == "--tone-above") {
      if (i + 1 >= argc) usage("missing HZ:AMP after --tone");
      const std::string t = argv[++i];
      const auto colon = t.find(':');
      if (colon == std::string::npos) usage("--tone wants HZ:AMP");
      a.tones.push_back(
          {std::atof(t.substr(0, colon).c_str()), std::atof(t.substr(colon + 1).c_str()), opt == "--tone-above"});
    } else if (opt == "--harmonic") {
      if (i + 1 >= argc) usage("missing HZ:N:RATIO after --harmonic");
      Harmonic h{};
      if (std::sscanf(argv[++i], "%lf:%d:%lf", &h.fundamental, &h.multiple, &h.ratio) != 3)
        usage("--harmonic wants HZ:N:RATIO");
      a.harmonics.push_back(h);
    } else usage(("unknown option " + opt).c_str());
  }
  if (a.channel < 0 || a.channel >= a.channels) usage("--channel out of range");
  return a;
}

// One channel of the chosen range; a file still being written may end in a partial frame. Only the range is
// read: the recording of a whole session grows to tens of megabytes and is asked about every 20 ms.
std::vector<float> load(const Args& a, double& length_ms) {
  std::ifstream in(a.file, std::ios::binary | std::ios::ate);
  if (!in) usage(("cannot read " + a.file).c_str());
  const std::size_t frame_bytes = sizeof(float) * static_cast<std::size_t>(a.channels);
  const std::size_t frames = static_cast<std::size_t>(in.tellg()) / frame_bytes;
  length_ms = static_cast<double>(frames) * 1000.0 / a.rate;

  double from = a.from_ms >= 0 ? a.from_ms : 0, to = a.to_ms >= 0 ? a.to_ms : length_ms;
  if (a.last_ms >= 0) from = std::max(0.0, length_ms - a.last_ms), to = length_ms;
  const auto first = std::min(frames, static_cast<std::size_t>(std::max(0.0, from) * a.rate / 1000.0));
  const auto end = std::max(first, std::min(frames, static_cast<std::size_t>(std::max(0.0, to) * a.rate / 1000.0)));
  std::vector<float> interleaved((end - first) * static_cast<std::size_t>(a.channels));
  in.seekg(static_cast<std::streamoff>(first * frame_bytes));
  in.read(reinterpret_cast<char*>(interleaved.data()),
          static_cast<std::streamsize>(interleaved.size() * sizeof(float)));
  std::vector<float> out(end - first);
  for (std::size_t f = 0; f < out.size(); ++f)
    out[f] = interleaved[f * static_cast<std::size_t>(a.channels) + static_cast<std::size_t>(a.channel)];
  return out;
}

double db(double amp) { return 20.0 * std::log10(std::max(amp, 1e-12)); }

}  // namespace

int main(int argc, char** argv) {
  const Args a = parse(argc, argv);
  double length_ms = 0;
  const std::vector<float> x = load(a, length_ms);

  if (a.command == "length") {
    std::printf("%.0f\n", length_ms);
    return 0;
  }
  if (a.command == "clicks") {
    const auto clicks = find_clicks(x.data(), x.size(), a.rate);
    std::printf("clicks %zu\n", clicks.size());
    for (const auto& c : clicks)
      std::printf("click at %.1f ms, %.0fx its surroundings\n", static_cast<double>(c.frame) * 1000.0 / a.rate,
                  c.strength);
    return clicks.empty() ? 0 : 1;
  }
  if (a.command == "ending") {
    const auto e = find_ending(x.data(), x.size(), a.rate);
    if (!e.found) {
      std::printf("FAIL: no sound that ends in silence\n");
      return 1;
    }
    const double ratio = e.body_peak > 0 ? e.tail_peak / e.body_peak : 1.0;
    std::printf("sound ends at %.1f ms: last millisecond peak %.4f, before %.4f (%.0f%%)\n",
                static_cast<double>(e.frame) * 1000.0 / a.rate, e.tail_peak, e.body_peak, 100 * ratio);
    return ratio <= 0.3 ? 0 : 1;
  }
  if (a.command != "tones" && a.command != "expect") usage("unknown command");

  const auto spectrum = analyse_tones(x.data(), x.size(), a.rate);
  std::printf("samples %zu, rms %.1f dBFS\n", x.size(), db(spectrum.rms));
  std::size_t shown = 0;
  for (const auto& t : spectrum.tones) {
    if (++shown > 12) break;
    std::printf("tone %.2f Hz amplitude %.5f (%.1f dBFS)\n", t.freq_hz, t.amplitude, db(t.amplitude));
  }
  if (a.command == "tones") return 0;

  if (x.size() < static_cast<std::size_t>(a.rate / 50)) {
    std::printf("FAIL: only %zu samples in the range\n", x.size());
    return 1;
  }
  bool ok = true;
  if (a.silent && spectrum.rms > 1e-4) {
    std::printf("FAIL: not silent (rms %.1f dBFS)\n", db(spectrum.rms));
    ok = false;
  }
  std::vector<bool> claimed(spectrum.tones.size(), false);
  for (const auto& w : a.tones) {
    bool found = false;
    for (std::size_t i = 0; i < spectrum.tones.size(); ++i) {
      const auto& t = spectrum.tones[i];
      if (std::fabs(t.freq_hz - w.freq) > a.freq_tol) continue;
      claimed[i] = true;
      found = true;
      if (w.at_least ? db(t.amplitude) < db(w.amp) - a.level_tol_db
                     : std::fabs(db(t.amplitude) - db(w.amp)) > a.level_tol_db) {
        std::printf("FAIL: %.1f Hz at %.5f, wanted %.5f\n", w.freq, t.amplitude, w.amp);
        ok = false;
      }
      break;
    }
    if (!found) {
      std::printf("FAIL: no tone at %.1f Hz\n", w.freq);
      ok = false;
    }
  }
  auto strength_at = [&](double freq) -> double {
    for (std::size_t i = 0; i < spectrum.tones.size(); ++i)
      if (std::fabs(spectrum.tones[i].freq_hz - freq) <= a.freq_tol * std::max(1.0, freq / 1000.0)) {
        claimed[i] = true;
        return spectrum.tones[i].amplitude;
      }
    return 0.0;
  };
  for (const auto& h : a.harmonics) {
    const double base = strength_at(h.fundamental), component = strength_at(h.fundamental * h.multiple);
    const double rel_db = db(component) - db(base);
    if (base == 0.0) {
      std::printf("FAIL: no fundamental at %.1f Hz\n", h.fundamental);
      ok = false;
    } else if (h.ratio == 0.0 ? rel_db > -60.0 : std::fabs(rel_db - db(h.ratio)) > a.level_tol_db) {
      std::printf("FAIL: harmonic %d of %.1f Hz at %.1f dB, wanted %s\n", h.multiple, h.fundamental, rel_db,
                  h.ratio == 0.0 ? "none" : std::to_string(db(h.ratio)).c_str());
      ok = false;
    }
  }
  if (a.others)
    for (std::size_t i = 0; i < spectrum.tones.size(); ++i)
      if (!claimed[i] && db(spectrum.tones[i].amplitude) > a.others_below_db) {
        std::printf("FAIL: unexpected tone at %.2f Hz (%.1f dBFS)\n", spectrum.tones[i].freq_hz,
                    db(spectrum.tones[i].amplitude));
        ok = false;
      }
  return ok ? 0 : 1;
}
