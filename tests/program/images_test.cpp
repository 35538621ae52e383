// The images next to the executable: found from any starting folder, and their absence or damage harmless.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "tests/program/program_fixture.h"
#include "ui/strips/strip_images.h"

namespace raziz::test {
namespace {

namespace fs = std::filesystem;

}  // namespace

void PrintTo(Images images, std::ostream* out) {
  *out << (images == Images::present ? "present" : images == Images::missing ? "missing" : "corrupt");
}

namespace {

class ProgramImages : public ProgramTest {};

TEST_F(ProgramImages, StartedFromAnotherFolderTheProgramWorksInItsOwn) {
  start(Images::present);
  EXPECT_EQ(fs::current_path(), fs::canonical(folder));
  ASSERT_NE(strip(0).lamp->pixmap(), nullptr);
  user().click(strip(0).tone_button);
  ASSERT_TRUE(run_until_idle());
  ASSERT_NE(strip(0).lamp->pixmap(), nullptr);
  EXPECT_EQ(strip(0).lamp->pixmap()->pixels, image_pixels(kRedLamp));
}

TEST_F(ProgramImages, AnExecutablePathWithoutAFolderLeavesTheWorkingDirectory) {
  options.executable_path = "raziz";
  const fs::path before = fs::temp_directory_path();
  start(Images::present);  // the images sit in `folder`, which the program never enters
  EXPECT_EQ(fs::current_path(), before);
  EXPECT_EQ(strip(0).lamp->pixmap(), nullptr);
}

class UnusableImages : public ProgramTest, public ::testing::WithParamInterface<Images> {};

TEST_P(UnusableImages, LeaveEmptyLampsAndWellsWhileEverythingWorks) {
  start(GetParam());
  for (int b = 0; b < 9; ++b) {
    SCOPED_TRACE("band " + std::to_string(b));
    EXPECT_EQ(strip(b).lamp->pixmap(), nullptr);
    EXPECT_EQ(strip(b).slider_well->pixmap(), nullptr);
    // The lamp shows the strip's grey through and through.
    const auto& face = peer(strip(b).lamp).face;
    ASSERT_EQ(face.width, 50);
    ASSERT_EQ(face.height, 50);
    for (std::uint32_t pixel : face.pixels) ASSERT_EQ(pixel, 0xFFC0C0C0u);
  }

  user().click(strip(2).square_box);
  user().click(strip(2).tone_button);
  user().drag_slider(strip(2).level_slider, {thumb_for(150)});
  user().set_text_by_user(strip(2).frequency_field, "440");
  ASSERT_TRUE(run_until_idle());
  EXPECT_TRUE(program.bank.channels[2].sounding);
  EXPECT_FALSE(muted(2));
  EXPECT_EQ(waveform(2), mixer::WAVE_SQUARE);
  EXPECT_EQ(rate(2), 440.0f);
  EXPECT_NEAR(volume(2), 150 / 199.92f, 1e-6f);
  EXPECT_EQ(strip(2).lamp->pixmap(), nullptr);

  user().click(strip(2).tone_button);
  ASSERT_TRUE(run_until_idle());
  EXPECT_TRUE(muted(2));
}

INSTANTIATE_TEST_SUITE_P(Files, UnusableImages, ::testing::Values(Images::missing, Images::corrupt),
                         [](const auto& test) { return test.param == Images::missing ? "Missing" : "Corrupt"; });

}  // namespace
}  // namespace raziz::test
