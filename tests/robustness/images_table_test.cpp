// The lamp image as the program reads it, in every state the file can be in. The red lamp's file next to the
// executable is replaced, then the user switches a band on: the lamp shows exactly the picture or nothing at
// all, the band sounds either way, and switching it off shows the green lamp again. While the program reads
// the file the probe records its largest allocation: a header claiming 100000 x 100000 pixels, or more pixels
// than its data could inflate to, is refused before any pixel buffer exists (the core's limit is 16384 pixels a
// side and 64 Mi pixels, so at most 256 MiB of RGBA even for a file that really holds that much).

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "tests/program/program_fixture.h"
#include "tests/robustness/png_maker.h"
#include "tests/robustness/probe.h"
#include "ui/strips/strip_images.h"

namespace raziz::test {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMiB = 1024 * 1024;
// Beyond the program's own needs (the window's faces and the like) a broken file may cost no more than this.
constexpr std::size_t kSmall = 8 * kMiB;

struct ImageCase {
  const char* name;
  std::function<std::optional<Bytes>()> file;      // nothing: no file at all
  std::function<std::optional<Expected>()> shows;  // nothing: an empty lamp
  std::size_t allocation_bound = kSmall;
};

Bytes Valid() { return EncodePng(Gradient(13, 11, 2, 8)); }

Bytes Cut(Bytes bytes, std::size_t keep) {
  bytes.resize(keep);
  return bytes;
}

// Flips a bit of a chunk's checksum.
Bytes BadCrc(Bytes bytes, const char* chunk) {
  const std::size_t at = FindChunk(bytes, chunk);
  const std::size_t length =
      static_cast<std::size_t>(bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3]);
  bytes[at + 8 + length] ^= 0x01;
  return bytes;
}

ImageCase Exact(const char* name, PngPicture picture) {
  return {name, [picture] { return EncodePng(picture); }, [picture] { return ExpectedPixels(picture); }};
}

ImageCase Empty(const char* name, std::function<std::optional<Bytes>()> file, std::size_t bound = kSmall) {
  return {name, std::move(file), [] { return std::optional<Expected>(); }, bound};
}

PngPicture WithPaletteAlpha(PngPicture p) {
  for (std::size_t i = 0; i < p.palette.size() / 3; ++i)
    p.palette_alpha.push_back(static_cast<std::uint8_t>(255 - 20 * i));
  return p;
}

PngPicture WithGreyKey(PngPicture p, int key) {
  p.grey_key = key;
  return p;
}

const ImageCase kCases[] = {
    Empty("Missing", [] { return std::optional<Bytes>(); }),
    Empty("EmptyFile", [] { return Bytes{}; }),
    Empty("OnlyTheSignature", [] { return Cut(Valid(), 8); }),
    Empty("CutInsideTheHeader", [] { return Cut(Valid(), 20); }),
    Empty("CutInsideTheImageData", [] { return Cut(Valid(), FindChunk(Valid(), "IDAT") + 20); }),
    Empty("HeaderChecksumWrong", [] { return BadCrc(Valid(), "IHDR"); }),
    Empty("ImageDataChecksumWrong", [] { return BadCrc(Valid(), "IDAT"); }),
    Empty("SignatureWrong",
          [] {
            Bytes b = Valid();
            b[1] = 'X';
            return b;
          }),
    Empty("NotAnImageAtAll",
          [] {
            const std::string t = "GIF89a, or so it says\n";
            return Bytes(t.begin(), t.end());
          }),
    Empty("Claims100000x100000", [] { return PngHeader(100000, 100000); }),
    Empty("Claims100000x100000WithData",
          [] {
            Bytes b = PngHeader(100000, 100000);
            Bytes v = Valid();
            b.insert(b.end(), v.begin() + 33, v.end());
            return b;
          }),
    Empty("Claims16384x16384", [] { return PngHeader(16384, 16384, 6, 16); }),
    Empty("Claims4294967295x1", [] { return PngHeader(0xFFFFFFFFu, 1); }),
    // Within the side limit but more pixels than the file's data could ever inflate to: refused before
    // any pixel buffer exists.
    Empty("Claims8192x8192WithoutData", [] { return PngHeader(8192, 8192, 6, 8); }),
    Empty("Claims8192x8192WithATinyImage",
          [] {
            Bytes b = PngHeader(8192, 8192, 6, 8);
            AppendChunk(b, "IDAT", {0x78, 0x9C, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01});  // one zero byte, deflated
            AppendChunk(b, "IEND", {});
            return b;
          }),
    // The image is complete before the damage: shown as it is.
    {"CutBeforeTheEnd", [] { return Cut(Valid(), FindChunk(Valid(), "IEND")); },
     [] { return ExpectedPixels(Gradient(13, 11, 2, 8)); }},
    {"CommentChecksumWrong", [] { return BadCrc(Valid(), "tEXt"); },
     [] { return ExpectedPixels(Gradient(13, 11, 2, 8)); }},
    Exact("OnePixelGrey", Gradient(1, 1, 0, 8)),
    Exact("OnePixelRgba", Gradient(1, 1, 6, 8)),
    Exact("Grey1Bit", Gradient(17, 5, 0, 1)),
    Exact("Grey4Bit", Gradient(9, 4, 0, 4)),
    Exact("Grey16Bit", Gradient(8, 8, 0, 16)),
    Exact("GreyWithKey", WithGreyKey(Gradient(8, 8, 0, 8), 5)),
    Exact("GreyAlpha8Bit", Gradient(8, 8, 4, 8)),
    Exact("GreyAlpha16Bit", Gradient(8, 8, 4, 16)),
    Exact("Rgb16Bit", Gradient(8, 8, 2, 16)),
    Exact("Rgba16Bit", Gradient(50, 50, 6, 16)),
    Exact("Palette2Bit", Gradient(11, 3, 3, 2)),
    Exact("Palette8BitWithAlpha", WithPaletteAlpha(Gradient(8, 8, 3, 8))),
};

class ImagesTable : public ProgramTest, public ::testing::WithParamInterface<ImageCase> {};

TEST_P(ImagesTable, TheLampShowsThePictureExactlyOrNothingAndTheBandSwitches) {
  const ImageCase& c = GetParam();
  start(Images::present);
  constexpr int band = 4;
  const fs::path red = folder / kRedLamp;
  fs::remove(red);
  if (const auto bytes = c.file()) {
    std::ofstream out(red, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
  }

  user().click(strip(band).tone_button);
  ArmProbe();
  const bool idle = run_until_idle();
  const ProbeCounts reading = DisarmProbe();
  ASSERT_TRUE(idle);
  EXPECT_TRUE(program.bank.channels[band].sounding);
  EXPECT_FALSE(muted(band));
  EXPECT_LE(reading.largest_allocation, c.allocation_bound);

  const auto& shown = strip(band).lamp->pixmap();
  const auto expected = c.shows();
  if (expected) {
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->channels, expected->channels);
    EXPECT_TRUE(shown->pixels == expected->pixels) << "the lamp shows other pixels than the file holds";
  } else {
    EXPECT_EQ(shown, nullptr);
    for (std::uint32_t pixel : peer(strip(band).lamp).face.pixels) ASSERT_EQ(pixel, 0xFFC0C0C0u);
  }
  std::printf("%-30s %-6s largest allocation while reading: %zu bytes\n", c.name, shown ? "image" : "empty",
              reading.largest_allocation);

  user().click(strip(band).tone_button);
  ASSERT_TRUE(run_until_idle());
  EXPECT_FALSE(program.bank.channels[band].sounding);
  EXPECT_TRUE(muted(band));
  ASSERT_NE(strip(band).lamp->pixmap(), nullptr);
  EXPECT_EQ(strip(band).lamp->pixmap()->pixels, image_pixels(kGreenLamp));
}

INSTANTIATE_TEST_SUITE_P(Files, ImagesTable, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace raziz::test
