// The close box and File > Exit: the audio is released, in order, before the process ends with status 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/program/program_fixture.h"

namespace raziz::test {
namespace {

class ExitPaths : public ProgramTest {
 protected:
  // The mixer calls from the first release on, which must be the last calls before the end.
  std::vector<MixerCall> shutdown_calls() {
    auto first = std::find_if(calls.begin(), calls.end(), [](const MixerCall& c) { return c.call == "DSP_Release"; });
    return {first, calls.end()};
  }

  void expect_released_then_ended(int loop_status) {
    ASSERT_TRUE(ended_status.has_value()) << "end_process was not called";
    EXPECT_EQ(*ended_status, 0);
    EXPECT_EQ(loop_status, 0);
    EXPECT_TRUE(main_window_alive_at_end) << "no window is destroyed before the end";
    EXPECT_EQ(calls_at_end, calls.size()) << "no mixer call after the end";

    const std::vector<MixerCall> tail = shutdown_calls();
    ASSERT_EQ(tail.size(), 11u);
    for (int b = 0; b < 9; ++b) {
      EXPECT_EQ(tail[b].call, "DSP_Release");
      EXPECT_EQ(tail[b].handle, program.bank.channels[b].oscillator) << "band " << b << " released in order";
    }
    EXPECT_EQ(tail[9].call, "System_Close");
    EXPECT_EQ(tail[10].call, "System_Release");
  }
};

TEST_F(ExitPaths, CloseBoxReleasesTheSoundingBandsAndEnds) {
  start();
  user().click(strip(0).tone_button);
  user().click(strip(8).tone_button);
  user().close(program.main_window);
  const int status = run_to_end();
  expect_released_then_ended(status);
}

TEST_F(ExitPaths, ExitRepaintsBeforeAndAfterReleasingTheAudio) {
  start();
  user().click(strip(4).tone_button);
  user().choose_menu(program.exit_item);
  user().click(strip(5).tone_button);  // never reached: the program has ended
  const int status = run_to_end();
  expect_released_then_ended(status);
  EXPECT_EQ(session.driver.ScriptedSteps(), 1u);

  const std::vector<MixerCall> tail = shutdown_calls();
  ASSERT_FALSE(tail.empty());
  const int at_release = tail.front().main_window_repaints;
  const int at_close = tail.back().main_window_repaints;
  EXPECT_EQ(at_release, at_close);
  EXPECT_EQ(peer(program.main_window).immediate_repaints, at_close + 1) << "one repaint after the shutdown";
  // Before it: the menu command's repaint, then Exit's own.
  const int before_command = calls.front().main_window_repaints;
  EXPECT_EQ(at_release, before_command + 2);
}

TEST_F(ExitPaths, ClosingTheMainWindowAfterADialogStillEnds) {
  start();
  user().choose_menu(program.help_item);
  user().click(ui::headless::Find(ui::kButton, "OK"));
  user().close(program.main_window);
  const int status = run_to_end();
  expect_released_then_ended(status);
}

TEST_F(ExitPaths, TheProductsOwnEndEndsTheProcessWithStatusZero) {
  start();
  user().click(strip(2).tone_button);
  user().close(program.main_window);
  for (const auto& end : {std::function<void(int)>(end_process_now), std::function<void(int)>()}) {
    options.end_process = end;  // the default, and none at all, which falls back to it
    EXPECT_EXIT(main_loop(program, options), ::testing::ExitedWithCode(0), "");
  }
}

// The product's end_process, in a child process: it ends at once with the status, after flushing what was
// written to a buffered stream.
TEST(EndProcess, EndsAtOnceWithTheStatusAfterFlushing) {
  for (int status : {0, 3}) {
    EXPECT_EXIT(
        {
          static char buffer[256];
          std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
          std::fputs("still in the buffer", stderr);
          end_process_now(status);
        },
        ::testing::ExitedWithCode(status), "still in the buffer");
  }
}

}  // namespace
}  // namespace raziz::test
