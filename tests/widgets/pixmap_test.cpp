// Image loading: PNG in every layout libpng hands out, the other formats tried by content, and broken,
// missing or absurd images giving no pixmap.

#include <png.h>

#include <random>

#include <gtest/gtest.h>

#include "tests/widgets/image_fixtures.h"
#include "ui/widgets/core/pixmap.h"
#include "ui/widgets/core/shared_pixmaps.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

class PixmapTest : public ::testing::Test {
 protected:
  void TearDown() override { RemoveTempFiles(); }
};

struct Decoded {
  int width, height, channels;
  Bytes pixels;
};

void ExpectImage(const std::shared_ptr<TPixmap>& p, const Decoded& want) {
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->width, want.width);
  EXPECT_EQ(p->height, want.height);
  EXPECT_EQ(p->channels, want.channels);
  EXPECT_EQ(p->pixels, want.pixels);
}

std::shared_ptr<TPixmap> Decode(const Bytes& b) { return DecodePixmap(b.data(), b.size()); }

TEST_F(PixmapTest, PngLayoutsBecomeRgbaRgbOrGreyBuffers) {
  struct Case {
    const char* name;
    PngSpec shape;
    Decoded want;
  };
  const Case cases[] = {
      {"rgba",
       {2, 1, PNG_COLOR_TYPE_RGBA, 8, false, {1, 2, 3, 4, 5, 6, 7, 8}, {}, {}},
       {2, 1, 4, {1, 2, 3, 4, 5, 6, 7, 8}}},
      {"rgb", {2, 1, PNG_COLOR_TYPE_RGB, 8, false, {1, 2, 3, 4, 5, 6}, {}, {}}, {2, 1, 3, {1, 2, 3, 4, 5, 6}}},
      {"grey", {2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {9, 200}, {}, {}}, {2, 1, 1, {9, 200}}},
      {"grey 1-bit expanded", {3, 1, PNG_COLOR_TYPE_GRAY, 1, false, {0xA0}, {}, {}}, {3, 1, 1, {255, 0, 255}}},
      {"16-bit stripped",
       {1, 1, PNG_COLOR_TYPE_RGB, 16, false, {0xAB, 0xCD, 0x12, 0x34, 0xFF, 0x00}, {}, {}},
       {1, 1, 3, {0xAB, 0x12, 0xFF}}},
      {"palette",
       {2, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {1, 0}, {10, 20, 30, 40, 50, 60}, {}},
       {2, 1, 3, {40, 50, 60, 10, 20, 30}}},
      {"palette with tRNS",
       {2, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {1, 0}, {10, 20, 30, 40, 50, 60}, {0}},
       {2, 1, 4, {40, 50, 60, 255, 10, 20, 30, 0}}},
      {"grey with alpha", {1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {77, 128}, {}, {}}, {1, 1, 4, {77, 77, 77, 128}}},
      {"grey with a tRNS key",
       {2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {5, 6}, {}, {6}},
       {2, 1, 4, {5, 5, 5, 255, 6, 6, 6, 0}}},
      {"interlaced",
       {3, 3, PNG_COLOR_TYPE_GRAY, 8, true, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {}, {}},
       {3, 3, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectImage(Decode(EncodePng(c.shape)), c.want);
  }
}

TEST_F(PixmapTest, LoadPixmapReadsAFileAndGivesNullForAMissingOne) {
  const Bytes png = EncodePng({1, 1, PNG_COLOR_TYPE_RGB, 8, false, {1, 2, 3}, {}, {}});
  ExpectImage(LoadPixmap(WriteTempFile("verde.png", png)), {1, 1, 3, {1, 2, 3}});
  EXPECT_EQ(LoadPixmap(WriteTempFile("empty.png", {})), nullptr);
  EXPECT_EQ(LoadPixmap("/nonexistent/folder/rosso.png"), nullptr);
  EXPECT_EQ(LoadPixmap(::testing::TempDir()), nullptr);  // a folder, not a file
}

TEST_F(PixmapTest, ADoubleSizeFileComesAlongOnlyWhenItIsExactlyTwiceTheSize) {
  const Bytes one = EncodePng({1, 1, PNG_COLOR_TYPE_RGB, 8, false, {1, 2, 3}, {}, {}});
  const Bytes two = EncodePng({2, 2, PNG_COLOR_TYPE_RGB, 8, false, {4, 5, 6, 4, 5, 6, 4, 5, 6, 4, 5, 6}, {}, {}});
  const Bytes three = EncodePng({3, 3, PNG_COLOR_TYPE_GRAY, 8, false, {0, 0, 0, 0, 0, 0, 0, 0, 0}, {}, {}});
  const std::string lamp = WriteTempFile("lamp.png", one);
  EXPECT_EQ(LoadPixmap(lamp)->double_size, nullptr);  // none beside it
  WriteTempFile("lamp@2x.png", two);
  const auto loaded = LoadPixmap(lamp);
  ASSERT_NE(loaded->double_size, nullptr);
  EXPECT_EQ(loaded->double_size->pixels, (Bytes{4, 5, 6, 4, 5, 6, 4, 5, 6, 4, 5, 6}));
  WriteTempFile("lamp@2x.png", three);
  EXPECT_EQ(LoadPixmap(lamp)->double_size, nullptr);
  WriteTempFile("lamp@2x.png", {1, 2, 3});
  EXPECT_EQ(LoadPixmap(lamp)->double_size, nullptr);
}

// A file read anew shares the pixels of an equal picture still shown; a changed file, or one whose double-size
// version differs, does not.
TEST_F(PixmapTest, EqualPicturesStillShownAreShared) {
  const Bytes green = EncodePng({1, 1, PNG_COLOR_TYPE_RGB, 8, false, {0, 200, 0}, {}, {}});
  const Bytes red = EncodePng({1, 1, PNG_COLOR_TYPE_RGB, 8, false, {200, 0, 0}, {}, {}});
  const Bytes big =
      EncodePng({2, 2, PNG_COLOR_TYPE_RGB, 8, false, {0, 200, 0, 0, 200, 0, 0, 200, 0, 0, 200, 0}, {}, {}});
  const std::string lamp = WriteTempFile("shared.png", green);
  const auto first = ShareIdentical(LoadPixmap(lamp));
  const auto second = ShareIdentical(LoadPixmap(lamp));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  WriteTempFile("shared.png", red);
  const auto changed = ShareIdentical(LoadPixmap(lamp));
  EXPECT_NE(changed, first);
  EXPECT_EQ(changed->pixels, (Bytes{200, 0, 0}));
  WriteTempFile("shared.png", green);
  WriteTempFile("shared@2x.png", big);
  const auto with_double = ShareIdentical(LoadPixmap(lamp));
  EXPECT_NE(with_double, first);
  ASSERT_NE(with_double->double_size, nullptr);
  EXPECT_EQ(ShareIdentical(nullptr), nullptr);
}

TEST_F(PixmapTest, TheDoubleSizeNameGoesBeforeTheExtensionOfTheFileItself) {
  const std::pair<const char*, const char*> cases[] = {
      {"verde.png", "verde@2x.png"},
      {"/opt/raziz/slider.png", "/opt/raziz/slider@2x.png"},
      {"images.d/lamp", "images.d/lamp@2x"},
      {".hidden", ".hidden@2x"},
      {"a.b.png", "a.b@2x.png"},
  };
  for (auto [path, name] : cases) EXPECT_EQ(DoubleSizeName(path), name);
}

TEST_F(PixmapTest, BrokenPngsGiveNoPixmap) {
  const Bytes good = EncodePng({4, 4, PNG_COLOR_TYPE_RGB, 8, false, Bytes(48, 7), {}, {}});
  ASSERT_NE(Decode(good), nullptr);
  Bytes truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  Bytes bad_crc = good;
  bad_crc[29] ^= 0xFF;  // inside the IHDR chunk: its CRC no longer matches
  Bytes bad_signature = good;
  bad_signature[1] = 'Q';
  const std::pair<const char*, Bytes> cases[] = {
      {"truncated", truncated},
      {"bad CRC", bad_crc},
      {"bad signature", bad_signature},
      {"signature only", Bytes(good.begin(), good.begin() + 8)},
      {"too wide", PngHeaderOnly(20000, 1)},
      {"too many pixels", PngHeaderOnly(16384, 8192)},
      {"zero size", PngHeaderOnly(0, 0)},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Decode(bytes), nullptr);
  }
}

Bytes Bmp(int width, int height, int bpp, std::uint32_t compression, const Bytes& extra_header, const Bytes& palette,
          const Bytes& pixels) {
  const std::uint32_t header = 40 + static_cast<std::uint32_t>(extra_header.size());
  const std::uint32_t offset = 14 + header + static_cast<std::uint32_t>(palette.size());
  Bytes out = {'B', 'M'};
  Put32(out, offset + static_cast<std::uint32_t>(pixels.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, header);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(bpp));
  Put32(out, compression);
  for (int i = 0; i < 3; ++i) Put32(out, 0);                   // image size, resolution
  Put32(out, static_cast<std::uint32_t>(palette.size() / 4));  // colours used
  Put32(out, 0);
  out.insert(out.end(), extra_header.begin(), extra_header.end());
  out.insert(out.end(), palette.begin(), palette.end());
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

Bytes Tga(int type, int depth, int descriptor, int width, int height, const Bytes& map, int map_bits,
          const Bytes& data) {
  Bytes out = {0, static_cast<std::uint8_t>(map.empty() ? 0 : 1), static_cast<std::uint8_t>(type)};
  Put16(out, 0);
  Put16(out, map.empty() ? 0 : static_cast<std::uint32_t>(map.size() / static_cast<std::size_t>(map_bits / 8)));
  out.push_back(static_cast<std::uint8_t>(map.empty() ? 0 : map_bits));
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<std::uint32_t>(width));
  Put16(out, static_cast<std::uint32_t>(height));
  out.push_back(static_cast<std::uint8_t>(depth));
  out.push_back(static_cast<std::uint8_t>(descriptor));
  out.insert(out.end(), map.begin(), map.end());
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

TEST_F(PixmapTest, BmpAndTgaAreDecodedByContent) {
  Bytes masks;  // 56-byte header: red, green, blue and alpha masks
  for (std::uint32_t m : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) Put32(masks, m);
  struct Case {
    const char* name;
    Bytes bytes;
    Decoded want;
  };
  const Case cases[] = {
      // Rows bottom first, each padded to 4 bytes; pixels stored as BGR.
      {"bmp 24-bit", Bmp(1, 2, 24, 0, {}, {}, {3, 2, 1, 0, 6, 5, 4, 0}), {1, 2, 3, {4, 5, 6, 1, 2, 3}}},
      {"bmp 24-bit top-down", Bmp(1, -2, 24, 0, {}, {}, {3, 2, 1, 0, 6, 5, 4, 0}), {1, 2, 3, {1, 2, 3, 4, 5, 6}}},
      {"bmp 8-bit palette",
       Bmp(3, 1, 8, 0, {}, {30, 20, 10, 0, 60, 50, 40, 0}, {1, 0, 1, 0}),
       {3, 1, 3, {40, 50, 60, 10, 20, 30, 40, 50, 60}}},
      {"bmp 1-bit palette",
       Bmp(3, 1, 1, 0, {}, {0, 0, 0, 0, 255, 255, 255, 0}, {0xA0, 0, 0, 0}),
       {3, 1, 3, {255, 255, 255, 0, 0, 0, 255, 255, 255}}},
      {"bmp 32-bit with alpha mask", Bmp(1, 1, 32, 3, masks, {}, {3, 2, 1, 128}), {1, 1, 4, {1, 2, 3, 128}}},
      {"tga 24-bit", Tga(2, 24, 0, 2, 1, {}, 0, {3, 2, 1, 6, 5, 4}), {2, 1, 3, {1, 2, 3, 4, 5, 6}}},
      {"tga grey, top-left origin", Tga(3, 8, 0x20, 1, 2, {}, 0, {9, 8}), {1, 2, 1, {9, 8}}},
      {"tga 32-bit run-length",
       Tga(10, 32, 0x28, 3, 1, {}, 0, {0x82, 3, 2, 1, 4}),
       {3, 1, 4, {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}}},
      {"tga colour-mapped",
       Tga(1, 8, 0x20, 2, 1, {30, 20, 10, 60, 50, 40}, 24, {1, 0}),
       {2, 1, 3, {40, 50, 60, 10, 20, 30}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectImage(Decode(c.bytes), c.want);
  }
  // The name plays no part: BMP content in a file called .png is still a BMP.
  ExpectImage(LoadPixmap(WriteTempFile("slider.png", cases[0].bytes)), cases[0].want);
}

TEST_F(PixmapTest, BrokenBmpAndTgaGiveNoPixmap) {
  const std::pair<const char*, Bytes> cases[] = {
      {"bmp pixels cut short", Bmp(4, 4, 24, 0, {}, {}, Bytes(20, 0))},
      {"bmp run-length", Bmp(1, 1, 8, 1, {}, Bytes(1024, 0), {0, 1, 0, 1})},
      {"bmp index past the palette", Bmp(1, 1, 8, 0, {}, {1, 2, 3, 0}, {5, 0, 0, 0})},
      {"bmp absurd size", Bmp(100000, 100000, 24, 0, {}, {}, {})},
      {"tga runs cut short", Tga(10, 24, 0, 4, 1, {}, 0, {0x83, 1, 2})},
      {"tga run past the image", Tga(10, 24, 0, 1, 1, {}, 0, {0x83, 1, 2, 3})},
      {"tga pixels cut short", Tga(2, 24, 0, 2, 2, {}, 0, {1, 2, 3})},
      {"tga index past the map", Tga(1, 8, 0, 1, 1, {1, 2, 3}, 24, {4})},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Decode(bytes), nullptr);
  }
}

#if RAZIZ_TEST_JPEG
TEST_F(PixmapTest, JpegDecodesToRgbOrGrey) {
  const std::uint8_t orange[3] = {240, 128, 16};
  const auto colour = Decode(EncodeJpeg(8, 8, 3, orange));
  ASSERT_NE(colour, nullptr);
  EXPECT_EQ(colour->channels, 3);
  EXPECT_EQ(colour->width, 8);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(colour->pixels[static_cast<std::size_t>(c)], orange[c], 4);
  const auto grey = Decode(EncodeJpeg(8, 8, 1, orange));
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->channels, 1);
  EXPECT_NEAR(grey->pixels[0], 240, 4);
  Bytes cut = EncodeJpeg(8, 8, 3, orange);
  cut.resize(20);
  EXPECT_EQ(Decode(cut), nullptr);
}
#endif

// Damaged copies of every fixture and random bytes: no crash, no read past the buffer (the sanitizer build
// checks that), and any image that comes back is consistent.
TEST_F(PixmapTest, DamagedAndRandomContentNeverCrashes) {
  const std::uint8_t grey[3] = {100, 100, 100};
  std::vector<Bytes> seeds = {
      EncodePng({5, 3, PNG_COLOR_TYPE_RGBA, 8, false, Bytes(60, 9), {}, {}}),
      EncodePng({4, 4, PNG_COLOR_TYPE_PALETTE, 8, true, Bytes(16, 1), {1, 2, 3, 4, 5, 6}, {7}}),
      Bmp(2, 2, 24, 0, {}, {}, Bytes(16, 3)),
      Tga(10, 32, 0x28, 3, 1, {}, 0, {0x82, 3, 2, 1, 4}),
  };
  if (Bytes jpeg = EncodeJpeg(16, 16, 3, grey); !jpeg.empty()) seeds.push_back(jpeg);
  std::mt19937 random(20240611);
  for (int round = 0; round < 3000; ++round) {
    Bytes bytes = seeds[static_cast<std::size_t>(round) % seeds.size()];
    const int flips = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < flips; ++i) bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    if (round % 3 == 0) bytes.resize(random() % bytes.size());
    if (round % 7 == 0) {
      bytes.resize(random() % 64);
      for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    }
    if (auto p = Decode(bytes)) {
      ASSERT_EQ(p->pixels.size(), static_cast<std::size_t>(p->width) * p->height * p->channels);
    }
  }
}

}  // namespace
}  // namespace raziz::test
