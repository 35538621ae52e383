#pragma once
// Runs the whole program on the headless driver: the real widget core, strips, dialogs and tone bank (rendering
// offline), with a scripted user. The executable "lives" in a temporary folder that holds copies of the images
// (or not, or broken ones), and the test process starts elsewhere.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "audio/mixer/mixer.h"
#include "ui/widgets/core/pixmap.h"
#include "ui/widgets/headless/headless_driver.h"

namespace raziz::test {

// The images next to the fake executable.
enum class Images { present, missing, corrupt };

// One mixer call as the call trace reports it.
struct MixerCall {
  std::string call;
  const void* handle = nullptr;
  int main_window_repaints = 0;  // immediate repaints of the main window when the call came
};

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest();
  ~ProgramTest() override;

  // Start-up, with the images as given. Called by the tests, so each chooses its folder.
  void start(Images images = Images::present);

  // Runs the main loop until the script is used up. Returns false if the program ended instead.
  bool run_until_idle();
  // Runs the main loop and expects the program to end; returns the status it ended with.
  int run_to_end();

  // A scripted step that only looks: runs `look` when the program next waits for input at that point.
  void look(std::function<void()> look);

  // What the mixer holds for a band, as set.
  float volume(int band);
  float waveform(int band);
  float rate(int band);
  bool muted(int band);
  bool paused(int band);
  // The peak of the mix over `frames` rendered now (interleaved stereo, offline).
  float render_peak(int frames);

  ChannelStrip& strip(int band) { return program.strips[band]; }
  const ui::headless::Peer& peer(const ui::TGadget* g) { return session.driver.PeerOf(g); }
  ui::headless::User& user() { return session.user; }
  // The slider position the platform counts from the top for a slider value (range 1..200).
  static int thumb_for(int value) { return 1 + 200 - value; }

  ui::headless::Session session;
  Program program;
  ProgramOptions options;
  std::filesystem::path folder;      // the fake executable's folder
  std::filesystem::path started_in;  // the working directory before the test

  // Set when end_process is called.
  std::optional<int> ended_status;
  bool main_window_alive_at_end = false;
  std::vector<MixerCall> calls;  // mixer calls since start-up
  std::size_t calls_at_end = 0;

 private:
  static void trace(void* user, const char* call, const void* handle);
};

// Decoded pixels of one of the shipped images, for comparing with what a panel shows.
std::vector<std::uint8_t> image_pixels(const char* file);

}  // namespace raziz::test
