// raziz-render's command line: what it accepts, and the one-line errors for what it does not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/render/render_args.h"

namespace raziz::test {
namespace {

std::optional<RenderOptions> parse(std::vector<std::string> args, std::string& error) {
  return parse_render_args(args, error);
}

TEST(RenderArgs, DefaultsAndAFullCommandLine) {
  std::string error;
  const auto defaults = parse({}, error);
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->rate, 48000);
  EXPECT_EQ(defaults->seconds, 1.0);
  EXPECT_TRUE(defaults->tones.empty());
  EXPECT_TRUE(defaults->wav_path.empty());

  const auto full = parse({"--rate", "44100", "--seconds", "2.5", "--tone", "1000:sine:0.5", "--tone", "630:square:1.5",
                           "--tone", "3150:triangle:0", "--toggle", "0.5", "--toggle", "1", "--wav", "out.wav"},
                          error);
  ASSERT_TRUE(full) << error;
  EXPECT_EQ(full->rate, 44100);
  EXPECT_EQ(full->seconds, 2.5);
  ASSERT_EQ(full->tones.size(), 3u);
  EXPECT_EQ(full->tones[0].hz, 1000.0f);
  EXPECT_EQ(full->tones[0].waveform, 0.0f);
  EXPECT_EQ(full->tones[0].level, 0.5f);
  EXPECT_EQ(full->tones[1].waveform, 1.0f);
  EXPECT_EQ(full->tones[1].level, 1.5f);
  EXPECT_EQ(full->tones[2].waveform, 4.0f);
  EXPECT_EQ(full->toggles, (std::vector<double>{0.5, 1.0}));
  EXPECT_EQ(full->wav_path, "out.wav");
}

TEST(RenderArgs, BadArgumentsAreNamedInOneLine) {
  const struct {
    std::vector<std::string> args;
    const char* named;
  } cases[] = {
      {{"--rate"}, "--rate"},
      {{"--rate", "abc"}, "--rate"},
      {{"--rate", "44100.5"}, "--rate"},
      {{"--rate", "100"}, "--rate"},
      {{"--rate", "1e9"}, "--rate"},
      {{"--seconds", "0"}, "--seconds"},
      {{"--seconds", "-1"}, "--seconds"},
      {{"--seconds", "nan"}, "--seconds"},
      {{"--seconds", "inf"}, "--seconds"},
      {{"--seconds", "1x"}, "--seconds"},
      {{"--tone", "1000:sine"}, "--tone"},
      {{"--tone", "1000:saw:1"}, "--tone"},
      {{"--tone", "abc:sine:1"}, "--tone"},
      {{"--tone", "1000:sine:"}, "--tone"},
      {{"--tone", "1000:sine:1:2"}, "--tone"},
      {{"--tone", ":sine:1"}, "--tone"},
      {{"--toggle", "-1"}, "--toggle"},
      {{"--toggle", ""}, "--toggle"},
      {{"--wav", ""}, "--wav"},
      {{"--wav"}, "--wav"},
      {{"--volume", "1"}, "--volume"},
      {{"1000"}, "1000"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(parse(c.args, error)) << c.named;
    EXPECT_EQ(error.rfind(c.named, 0), 0u) << "error '" << error << "' should start with " << c.named;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace raziz::test
