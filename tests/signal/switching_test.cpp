// Switching without clicks: every change of gain is a raised-cosine ramp and every change of
// waveform a cross-fade, so the energy a switch throws far above the tone stays tiny.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "tests/signal/analysis.h"
#include "tests/signal/offline_mixer.h"

namespace raziz::test {
namespace {

constexpr int kRate = 48000;
constexpr int kGuard = 12;  // bins around a line that belong to its main lobe

// Energy a switch throws at and above two octaves over the tone, relative to the tone's energy over
// one second. With between_harmonics, only the gaps around even multiples of the tone count (within
// a quarter of the tone's frequency): a waveform switch brings harmonics in or takes them out, and
// the lines themselves, with the unavoidable spread of their switching, are the new waveform rather
// than a click.
double splatter_db(const std::vector<double>& x, double hz, bool between_harmonics) {
  const auto w = kaiser_window(static_cast<int>(x.size()));
  const auto p = power_spectrum(x, w);
  const double bin_hz = static_cast<double>(kRate) / static_cast<double>(x.size());
  const int tone_bin = static_cast<int>(std::lround(hz / bin_hz));
  double tone = 0.0;
  for (int k = tone_bin - kGuard; k <= tone_bin + kGuard; ++k) tone += p[k];
  double above = 0.0;
  for (std::size_t k = static_cast<std::size_t>(std::ceil(4.0 * hz / bin_hz)); k < p.size(); ++k) {
    if (between_harmonics) {
      const double n = static_cast<double>(k) * bin_hz / hz;
      if (std::abs(n - 2.0 * std::round(n / 2.0)) > 0.25) continue;
    }
    above += p[k];
  }
  // The spectrum is scaled for steady tones; a short event near the window's middle (weight 1) reads
  // sum(w^2)/n times stronger than its energy over the whole second.
  double sum_w2 = 0.0;
  for (double v : w) sum_w2 += v * v;
  return db(above / tone) + db(sum_w2 / static_cast<double>(x.size()));
}

struct SwitchCase {
  const char* name;
  float hz;
  float waveform;
  std::function<void(mixer::System*, const Tone&)> before;  // state for the first second
  std::function<void(mixer::System*, const Tone&)> change;  // at one second
};

// Renders one second, makes the change, renders one more second; returns the middle second.
std::vector<double> around_switch(const SwitchCase& c) {
  OfflineMixer mixer(kRate);
  const Tone tone = mixer.add(c.waveform, c.hz, 0.5f);
  if (c.before) c.before(mixer.system(), tone);
  mixer.skip(kRate / 2);
  auto x = mixer.render(kRate / 2);
  c.change(mixer.system(), tone);
  const auto y = mixer.render(kRate / 2);
  x.insert(x.end(), y.begin(), y.end());
  return x;
}

void mute(mixer::System*, const Tone& t) { mixer::Channel_SetMute(t.channel, true); }
void unmute(mixer::System*, const Tone& t) { mixer::Channel_SetMute(t.channel, false); }
void pause(mixer::System*, const Tone& t) { mixer::Channel_SetPaused(t.channel, true); }
void unpause(mixer::System*, const Tone& t) { mixer::Channel_SetPaused(t.channel, false); }
void louder(mixer::System*, const Tone& t) { mixer::Channel_SetVolume(t.channel, 1.0f); }
void quieter(mixer::System*, const Tone& t) { mixer::Channel_SetVolume(t.channel, 0.05f); }
void release(mixer::System*, const Tone& t) { mixer::DSP_Release(t.dsp); }
void close(mixer::System* s, const Tone&) { mixer::System_Close(s); }
void to_square(mixer::System*, const Tone& t) { mixer::DSP_SetParameter(t.dsp, mixer::OSCILLATOR_TYPE, 1.0f); }
void to_triangle(mixer::System*, const Tone& t) { mixer::DSP_SetParameter(t.dsp, mixer::OSCILLATOR_TYPE, 4.0f); }
void to_sine(mixer::System*, const Tone& t) { mixer::DSP_SetParameter(t.dsp, mixer::OSCILLATOR_TYPE, 0.0f); }

TEST(Switching, GainChangesThrowNoEnergyTwoOctavesUp) {
  const SwitchCase cases[] = {
      {"unmute", 1000.0f, 0.0f, mute, unmute},       {"mute", 1000.0f, 0.0f, nullptr, mute},
      {"unmute_500", 500.0f, 0.0f, mute, unmute},    {"mute_3150", 3150.0f, 0.0f, nullptr, mute},
      {"volume_up", 1000.0f, 0.0f, quieter, louder}, {"volume_down", 1000.0f, 0.0f, louder, quieter},
      {"pause", 1000.0f, 0.0f, nullptr, pause},      {"unpause", 1000.0f, 0.0f, pause, unpause},
      {"release", 1000.0f, 0.0f, nullptr, release},  {"close", 1000.0f, 0.0f, nullptr, close},
  };
  for (const SwitchCase& c : cases) {
    const auto x = around_switch(c);
    const double splatter = splatter_db(x, c.hz, false);
    std::printf("%s at %.0f Hz: energy two octaves up %.1f dB re tone\n", c.name, c.hz, splatter);
    EXPECT_LE(splatter, -100.0) << c.name;
  }
}

TEST(Switching, WaveformChangesCrossFade) {
  const SwitchCase cases[] = {
      {"sine_to_square", 1000.0f, 0.0f, nullptr, to_square},
      {"square_to_triangle", 1000.0f, 1.0f, nullptr, to_triangle},
      {"triangle_to_sine", 1000.0f, 4.0f, nullptr, to_sine},
      {"sine_to_square_500", 500.0f, 0.0f, nullptr, to_square},
      {"square_to_triangle_500", 500.0f, 1.0f, nullptr, to_triangle},
      {"square_to_sine_500", 500.0f, 1.0f, nullptr, to_sine},
      {"triangle_to_square_3150", 3150.0f, 4.0f, nullptr, to_square},
  };
  for (const SwitchCase& c : cases) {
    const auto x = around_switch(c);
    const double splatter = splatter_db(x, c.hz, true);
    std::printf("%s at %.0f Hz: energy two octaves up, between the harmonics, %.1f dB re tone\n", c.name, c.hz,
                splatter);
    EXPECT_LE(splatter, -100.0) << c.name;
  }
}

// The measure itself: a tone that starts with a step, or a sine that turns into a square without a
// cross-fade, must read as a loud click.
TEST(Switching, AbruptChangesReadAsClicks) {
  std::vector<double> start(kRate), swap(kRate);
  for (int i = 0; i < kRate; ++i) {
    const double phase = 2.0 * M_PI * 1000.0 * i / kRate;
    start[i] = i < kRate / 2 ? 0.0 : 0.5 * std::sin(phase + 0.7);
    double square = 0.0;
    for (int n = 1; n < 24; n += 2) square += std::sin(n * phase) / n;
    swap[i] = i < kRate / 2 ? 0.5 * std::sin(phase) : 0.5 * square;
  }
  EXPECT_GT(splatter_db(start, 1000.0, false), -70.0);
  EXPECT_GT(splatter_db(swap, 1000.0, true), -70.0);
}

}  // namespace
}  // namespace raziz::test
