// The mixer's calls: handles, result codes, channel allocation and release, the offline path.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

#include "audio/mixer/mixer.h"
#include "tests/signal/offline_mixer.h"

namespace raziz::test {

using namespace raziz::mixer;
namespace {

using test::OfflineMixer;

double peak(const std::vector<double>& x) {
  double p = 0.0;
  for (double v : x) p = std::max(p, std::abs(v));
  return p;
}

TEST(MixerApi, NullAndUninitialisedHandlesAreRefused) {
  EXPECT_EQ(System_Create(nullptr), RESULT_ERR_INVALID_PARAM);
  EXPECT_EQ(System_Init(nullptr, 32, INIT_OFFLINE, nullptr), RESULT_ERR_INVALID_HANDLE);
  EXPECT_EQ(DSP_SetParameter(nullptr, 0, 0.0f), RESULT_ERR_INVALID_HANDLE);
  EXPECT_EQ(Channel_SetVolume(nullptr, 1.0f), RESULT_ERR_INVALID_HANDLE);
  EXPECT_EQ(Channel_SetMute(nullptr, true), RESULT_ERR_INVALID_HANDLE);
  EXPECT_EQ(DSP_Release(nullptr), RESULT_ERR_INVALID_HANDLE);
  EXPECT_EQ(System_Close(nullptr), RESULT_ERR_INVALID_HANDLE);

  System* system = nullptr;
  ASSERT_EQ(System_Create(&system), RESULT_OK);
  DSP* dsp = reinterpret_cast<DSP*>(1);
  EXPECT_EQ(System_CreateDSPByType(system, DSP_TYPE_OSCILLATOR, &dsp), RESULT_ERR_UNINITIALIZED);
  EXPECT_EQ(dsp, nullptr);
  EXPECT_EQ(System_Init(system, 0, INIT_OFFLINE, nullptr), RESULT_ERR_INVALID_PARAM);
  ASSERT_EQ(System_Init(system, 4, INIT_OFFLINE, nullptr), RESULT_OK);
  EXPECT_EQ(System_Init(system, 4, INIT_OFFLINE, nullptr), RESULT_ERR_INITIALIZED);
  EXPECT_EQ(System_SetSoftwareFormat(system, 44100), RESULT_ERR_INITIALIZED);
  EXPECT_EQ(System_CreateDSPByType(system, 3, &dsp), RESULT_ERR_INVALID_PARAM);
  EXPECT_EQ(System_Close(system), RESULT_OK);
  EXPECT_EQ(System_Close(system), RESULT_ERR_UNINITIALIZED);
  EXPECT_EQ(System_Release(system), RESULT_OK);
}

TEST(MixerApi, OscillatorParametersReadBackAsSet) {
  OfflineMixer mixer;
  const test::Tone tone = mixer.add(WAVE_SINE, 440.0f, 0.5f);
  const struct {
    int index;
    float value;
    Result result;
    float read_back;
  } cases[] = {
      {OSCILLATOR_TYPE, WAVE_SQUARE, RESULT_OK, WAVE_SQUARE},
      {OSCILLATOR_TYPE, WAVE_TRIANGLE, RESULT_OK, WAVE_TRIANGLE},
      {OSCILLATOR_TYPE, 2.0f, RESULT_ERR_INVALID_PARAM, WAVE_TRIANGLE},  // other waveforms: refused, kept
      {OSCILLATOR_TYPE, 0.5f, RESULT_ERR_INVALID_PARAM, WAVE_TRIANGLE},
      {OSCILLATOR_TYPE, WAVE_SINE, RESULT_OK, WAVE_SINE},
      {OSCILLATOR_RATE, 997.3f, RESULT_OK, 997.3f},
      {OSCILLATOR_RATE, 0.0f, RESULT_OK, 0.0f},  // taken as given; it plays silence
      {OSCILLATOR_RATE, -20.0f, RESULT_OK, -20.0f},
      {OSCILLATOR_RATE, 1e9f, RESULT_OK, 1e9f},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DSP_SetParameter(tone.dsp, c.index, c.value), c.result) << c.index << " = " << c.value;
    float v = -1.0f;
    EXPECT_EQ(DSP_GetParameter(tone.dsp, c.index, &v), RESULT_OK);
    EXPECT_EQ(v, c.read_back) << c.index << " = " << c.value;
  }
  EXPECT_EQ(DSP_SetParameter(tone.dsp, 2, 1.0f), RESULT_ERR_INVALID_PARAM);
  float v = 0.0f;
  EXPECT_EQ(DSP_GetParameter(tone.dsp, -1, &v), RESULT_ERR_INVALID_PARAM);
}

TEST(MixerApi, ChannelsRunOutAndAReleasedOneIsReusedOnlyAfterItsFadeOut) {
  OfflineMixer mixer(48000, 2);
  const test::Tone a = mixer.add(WAVE_SINE, 1000.0f, 0.5f);
  const test::Tone b = mixer.add(WAVE_SINE, 1250.0f, 0.5f);
  int index_a = -1, index_b = -1;
  Channel_GetIndex(a.channel, &index_a);
  Channel_GetIndex(b.channel, &index_b);
  EXPECT_EQ(index_a, 0);
  EXPECT_EQ(index_b, 1);
  DSP* c = nullptr;
  ASSERT_EQ(System_CreateDSPByType(mixer.system(), DSP_TYPE_OSCILLATOR, &c), RESULT_OK);
  Channel* channel = reinterpret_cast<Channel*>(1);
  EXPECT_EQ(System_PlayDSP(mixer.system(), -1, c, false, &channel), RESULT_ERR_CHANNEL_ALLOC);
  EXPECT_EQ(channel, nullptr);
  EXPECT_EQ(System_PlayDSP(mixer.system(), -1, a.dsp, false, &channel), RESULT_ERR_INVALID_PARAM);  // already playing

  mixer.skip(4800);
  ASSERT_EQ(DSP_Release(a.dsp), RESULT_OK);
  EXPECT_EQ(DSP_Release(a.dsp), RESULT_ERR_INVALID_HANDLE);
  EXPECT_EQ(DSP_SetParameter(a.dsp, OSCILLATOR_RATE, 1.0f), RESULT_ERR_INVALID_HANDLE);
  EXPECT_EQ(Channel_SetVolume(a.channel, 1.0f), RESULT_ERR_INVALID_HANDLE);
  bool playing = true;
  EXPECT_EQ(Channel_IsPlaying(a.channel, &playing), RESULT_OK);
  EXPECT_FALSE(playing);
  // Still fading: not free yet.
  EXPECT_EQ(System_PlayDSP(mixer.system(), -1, c, false, &channel), RESULT_ERR_CHANNEL_ALLOC);
  mixer.skip(4800);
  ASSERT_EQ(System_PlayDSP(mixer.system(), -1, c, false, &channel), RESULT_OK);
  EXPECT_EQ(channel, a.channel);
}

TEST(MixerApi, PausedChannelIsSilentAndKeepsItsPhase) {
  OfflineMixer mixer;
  const test::Tone tone = mixer.add(WAVE_SINE, 1000.0f, 0.5f);
  mixer.skip(4800);
  Channel_SetPaused(tone.channel, true);
  mixer.skip(4800);
  EXPECT_EQ(peak(mixer.render(4800)), 0.0);
  Channel_SetPaused(tone.channel, false);
  mixer.skip(4800);
  EXPECT_NEAR(peak(mixer.render(4800)), 0.5, 1e-6);
}

TEST(MixerApi, MutedChannelIsSilentAndKeepsRunning) {
  OfflineMixer mixer;
  const test::Tone tone = mixer.add(WAVE_SINE, 1000.0f, 0.5f);
  Channel_SetMute(tone.channel, true);
  EXPECT_EQ(peak(mixer.render(4800)), 0.0);  // muted before it ever sounded: not one sample leaks
  bool mute = false;
  Channel_GetMute(tone.channel, &mute);
  EXPECT_TRUE(mute);
  Channel_SetMute(tone.channel, false);
  mixer.skip(1024);
  EXPECT_NEAR(peak(mixer.render(4800)), 0.5, 1e-6);
}

TEST(MixerApi, RenderIsOnlyForOfflineSystems) {
  ::setenv("RAZIZ_AUDIO_OUTPUT", "null", 1);
  System* system = nullptr;
  System_Create(&system);
  ASSERT_EQ(System_Init(system, 4, INIT_NORMAL, nullptr), RESULT_OK);
  float buffer[2 * 16];
  EXPECT_EQ(System_Render(system, buffer, 16), RESULT_ERR_NOT_OFFLINE);
  System_Close(system);
  System_Release(system);
  ::unsetenv("RAZIZ_AUDIO_OUTPUT");
}

// With no device (the null output forced) the system still renders in real time on its own thread
// and closes promptly after fading out.
TEST(MixerApi, WithoutADeviceTheSystemRunsSilentInRealTime) {
  ::setenv("RAZIZ_AUDIO_OUTPUT", "null", 1);
  System* system = nullptr;
  System_Create(&system);
  ASSERT_EQ(System_Init(system, 4, INIT_NORMAL, nullptr), RESULT_OK);
  DSP* dsp = nullptr;
  Channel* channel = nullptr;
  System_CreateDSPByType(system, DSP_TYPE_OSCILLATOR, &dsp);
  ASSERT_EQ(System_PlayDSP(system, -1, dsp, false, &channel), RESULT_OK);

  using namespace std::chrono_literals;
  OutputInfo info;
  const auto give_up = std::chrono::steady_clock::now() + 5s;
  do {
    std::this_thread::sleep_for(20ms);
    System_GetOutputInfo(system, &info);
  } while (info.blocks < 20 && std::chrono::steady_clock::now() < give_up);
  EXPECT_GE(info.blocks, 20u);
  EXPECT_STREQ(info.api, "null");
  EXPECT_FALSE(info.device_open);
  EXPECT_EQ(info.sample_rate, 48000);

  const auto before = std::chrono::steady_clock::now();
  DSP_Release(dsp);
  EXPECT_EQ(System_Close(system), RESULT_OK);
  EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
  System_Release(system);
  ::unsetenv("RAZIZ_AUDIO_OUTPUT");
}

}  // namespace
}  // namespace raziz::test
