// The raziz-render program itself: a WAV file with the tone and its toggles, raw output, exit codes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace raziz::test {
namespace {

int run(const std::string& arguments, std::string* output = nullptr) {
  const std::string command = std::string(RAZIZ_RENDER) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  std::string text;
  char buffer[65536];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  const int status = pclose(pipe);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<float> floats(const std::string& bytes, std::size_t offset) {
  std::vector<float> v((bytes.size() - offset) / 4);
  std::memcpy(v.data(), bytes.data() + offset, v.size() * 4);
  return v;
}

double peak(const std::vector<float>& stereo, std::size_t from, std::size_t to) {
  double p = 0.0;
  for (std::size_t i = 2 * from; i < 2 * to; ++i) p = std::max(p, std::abs(static_cast<double>(stereo[i])));
  return p;
}

TEST(RenderCli, WritesAFloatWavWithTheToggles) {
  const std::string path = ::testing::TempDir() + "raziz-render-test.wav";
  ASSERT_EQ(run("--seconds 0.6 --tone 1000:sine:0.5 --tone 2000:square:0 --toggle 0.2 --toggle 0.4 --wav " + path), 0);
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), 58u);
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
  std::uint16_t format = 0, channels = 0;
  std::uint32_t rate = 0, data_size = 0;
  std::memcpy(&format, bytes.data() + 20, 2);
  std::memcpy(&channels, bytes.data() + 22, 2);
  std::memcpy(&rate, bytes.data() + 24, 4);
  EXPECT_EQ(format, 3);  // IEEE float
  EXPECT_EQ(channels, 2);
  EXPECT_EQ(rate, 48000u);
  EXPECT_EQ(bytes.substr(50, 4), "data");
  std::memcpy(&data_size, bytes.data() + 54, 4);
  EXPECT_EQ(data_size, 28800u * 8);
  ASSERT_EQ(bytes.size(), 58u + data_size);
  const auto samples = floats(bytes, 58);
  // Sounding until 0.2 s, muted until 0.4 s, sounding again; 10 ms margins for the ramps.
  EXPECT_NEAR(peak(samples, 960, 9120), 0.5, 1e-6);
  EXPECT_EQ(peak(samples, 10080, 18720), 0.0);
  EXPECT_NEAR(peak(samples, 19680, 28800), 0.5, 1e-6);
  std::remove(path.c_str());
}

TEST(RenderCli, WritesRawStereoFloatsToStandardOutput) {
  std::string out;
  ASSERT_EQ(run("--rate 44100 --seconds 0.1 --tone 441:triangle:0.25", &out), 0);
  ASSERT_EQ(out.size(), 4410u * 8);
  const auto samples = floats(out, 0);
  EXPECT_NEAR(peak(samples, 1000, 4410), 0.25, 1e-3);
}

TEST(RenderCli, BadArgumentsExitWithStatus2AndOneLine) {
  for (const char* args : {"--tone 1000:sine", "--rate x", "--bogus", "--seconds"}) {
    std::string out;
    EXPECT_EQ(run(args, &out), 2) << args;
    EXPECT_EQ(out.find("raziz-render: "), 0u) << out;
    EXPECT_EQ(out.find('\n'), out.size() - 1) << out;
  }
}

}  // namespace
}  // namespace raziz::test
