#include "audio/tone_bank.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace raziz {

namespace {

constexpr int kVirtualChannels = 32;
constexpr float kStartLevel = 0.2f;

float waveform_value(Waveform kind) {
  switch (kind) {
    case Waveform::square: return mixer::WAVE_SQUARE;
    case Waveform::triangle: return mixer::WAVE_TRIANGLE;
    case Waveform::sine: break;
  }
  return mixer::WAVE_SINE;
}

// Only on request (tests and benchmarks ask): the program otherwise says nothing about its audio.
void report_output(mixer::System* system) {
  const char* wanted = std::getenv("RAZIZ_AUDIO_REPORT");
  if (!wanted || !*wanted || std::string_view(wanted) == "0") return;
  mixer::OutputInfo info;
  if (mixer::System_GetOutputInfo(system, &info) != mixer::RESULT_OK) return;
  std::fprintf(stderr, "raziz audio: %llu underruns, %llu device opens, %llu blocks\n",
               static_cast<unsigned long long>(info.underruns), static_cast<unsigned long long>(info.opens),
               static_cast<unsigned long long>(info.blocks));
}

}  // namespace

void start(ToneBank& bank, AudioOutput output) {
  mixer::System_Create(&bank.system);
  mixer::System_Init(bank.system, kVirtualChannels,
                     output == AudioOutput::offline ? mixer::INIT_OFFLINE : mixer::INIT_NORMAL, nullptr);
  for (int band = 0; band < kBandCount; ++band) {
    ToneChannel& tone = bank.channels[band];
    tone.band = band;
    tone.frequency = kBandFrequencies[band];
    tone.sounding = false;
    mixer::System_CreateDSPByType(bank.system, mixer::DSP_TYPE_OSCILLATOR, &tone.oscillator);
    mixer::DSP_SetParameter(tone.oscillator, mixer::OSCILLATOR_TYPE, mixer::WAVE_SINE);
    mixer::DSP_SetParameter(tone.oscillator, mixer::OSCILLATOR_RATE, static_cast<float>(tone.frequency));
    mixer::System_PlayDSP(bank.system, -1, tone.oscillator, true, &tone.channel);
    mixer::Channel_SetVolume(tone.channel, kStartLevel);
    mixer::DSP_SetParameter(tone.oscillator, mixer::OSCILLATOR_TYPE, mixer::WAVE_SINE);
    mixer::Channel_SetPaused(tone.channel, false);
    mixer::Channel_SetMute(tone.channel, true);
  }
}

void set_waveform(ToneBank& bank, int band, Waveform kind) {
  mixer::DSP_SetParameter(bank.channels[band].oscillator, mixer::OSCILLATOR_TYPE, waveform_value(kind));
}

void set_rate(ToneBank& bank, int band, float hz) {
  mixer::DSP_SetParameter(bank.channels[band].oscillator, mixer::OSCILLATOR_RATE, hz);
}

void set_level(ToneBank& bank, int band, float level) { mixer::Channel_SetVolume(bank.channels[band].channel, level); }

void toggle(ToneBank& bank, int band) {
  ToneChannel& tone = bank.channels[band];
  mixer::Channel_SetMute(tone.channel, tone.sounding);
  tone.sounding = !tone.sounding;
}

void shutdown(ToneBank& bank) {
  for (ToneChannel& tone : bank.channels) mixer::DSP_Release(tone.oscillator);
  mixer::System_Close(bank.system);
  report_output(bank.system);
  mixer::System_Release(bank.system);
  bank.system = nullptr;
}

}  // namespace raziz
