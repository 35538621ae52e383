// Panel faces: colour, image placement by flags, alpha laid over what is behind, and transparent panels
// showing their containers.

#include <memory>

#include "tests/widgets/widget_test.h"
#include "ui/widgets/core/layout_scale.h"
#include "ui/widgets/core/panel_paint.h"
#include "ui/widgets/core/pixmap.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

class PanelPaintTest : public WidgetTest {
 protected:
  TGadget* win = MakeWindow();
};

std::shared_ptr<TPixmap> Pixmap(int width, int height, int channels, std::vector<std::uint8_t> pixels) {
  auto p = std::make_shared<TPixmap>();
  p->width = width;
  p->height = height;
  p->channels = channels;
  p->pixels = std::move(pixels);
  return p;
}

constexpr std::uint32_t kA = 0xFF0A0B0C, kB = 0xFF141516, kC = 0xFF1E1F20, kD = 0xFF28292A;

// A 2 x 2 image: A B over C D.
std::shared_ptr<TPixmap> Quad() {
  return Pixmap(2, 2, 3, {0x0A, 0x0B, 0x0C, 0x14, 0x15, 0x16, 0x1E, 0x1F, 0x20, 0x28, 0x29, 0x2A});
}

TEST_F(PanelPaintTest, AlphaPixelsArePremultipliedAndLaidOverTheColour) {
  struct Case {
    std::uint8_t r, g, b, a;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {255, 0, 0, 128, 0xFF7F007F},      // red at half over blue
      {255, 255, 255, 0, 0xFF0000FF},    // fully transparent: the colour
      {255, 255, 255, 255, 0xFFFEFEFE},  // opaque, premultiplied as (c * a) >> 8
      {0, 0, 0, 64, 0xFF0000BF},
  };
  TGadget* panel = NewPanel(0, 0, 3, 2, win, 0, "");
  panel->SetColor(0, 0, 255);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a);
    panel->SetPixmap(Pixmap(1, 1, 4, {c.r, c.g, c.b, c.a}), 0);
    const PanelImage face = ComposePanel(*panel);
    for (std::uint32_t pixel : face.pixels) EXPECT_EQ(pixel, c.expected);
    EXPECT_EQ(driver.PeerOf(panel).face.at(2, 1), c.expected);  // repainted by SetPixmap
  }
}

TEST_F(PanelPaintTest, ImageFlagsPlaceTheImage) {
  struct Spot {
    int x, y;
    std::uint32_t pixel;
  };
  struct Case {
    int flags;
    std::vector<Spot> spots;
  };
  const Case cases[] = {
      {0, {{0, 0, kA}, {1, 0, kB}, {2, 0, kA}, {7, 3, kD}, {6, 2, kA}}},            // tiled from the corner
      {1, {{3, 1, kA}, {4, 2, kD}, {0, 0, 0}, {5, 1, 0}}},                          // centred
      {2, {{2, 0, kA}, {3, 1, kA}, {4, 0, kB}, {5, 3, kD}, {1, 0, 0}, {6, 0, 0}}},  // fitted: 4 x 4
      {3, {{0, 0, kA}, {3, 1, kA}, {4, 0, kB}, {7, 3, kD}, {0, 2, kC}}},            // stretched
      {4, {{0, 0, kA}, {0, 1, kA}, {0, 2, kC}, {5, 3, kD}}},                        // to the width: 8 x 8
  };
  TGadget* panel = NewPanel(0, 0, 8, 4, win, 0, "");
  for (const Case& c : cases) {
    panel->SetPixmap(Quad(), c.flags);
    const PanelImage face = ComposePanel(*panel);
    for (const Spot& s : c.spots) {
      EXPECT_EQ(face.at(s.x, s.y), s.pixel) << "flags " << c.flags << " at " << s.x << "," << s.y;
    }
  }
}

TEST_F(PanelPaintTest, ANullPixmapRemovesTheImage) {
  TGadget* panel = NewPanel(0, 0, 4, 4, win, 0, "");
  panel->SetColor(192, 192, 192);
  panel->SetPixmap(Quad(), 0);
  panel->SetPixmap(nullptr, 0);
  EXPECT_EQ(panel->pixmap(), nullptr);
  for (std::uint32_t pixel : ComposePanel(*panel).pixels) EXPECT_EQ(pixel, 0xFFC0C0C0);
}

TEST_F(PanelPaintTest, TransparentPanelsAndControlsShowTheGroupsFaceAtTheirPlaceInIt) {
  // A group panel with a 5 x 7 image of distinct pixels, tiled; its children sit 4 right and 16 down.
  std::vector<std::uint8_t> pixels;
  for (int i = 0; i < 35; ++i) pixels.insert(pixels.end(), {static_cast<std::uint8_t>(i), 0, 0});
  TGadget* group = NewPanel(10, -6, 88, 480, win, 3, "");
  group->SetColor(192, 192, 192);
  group->SetPixmap(Pixmap(5, 7, 3, pixels), 0);
  TGadget* lamp = NewPanel(1, 2, 50, 50, group, 0, " ");
  TGadget* box = NewButton("SQUARE", 3, 0, 74, 23, group, 2);
  auto expected = [](int gx, int gy) { return 0xFF000000u | static_cast<std::uint32_t>((gy % 7) * 5 + gx % 5) << 16; };
  EXPECT_EQ(ComposePanel(*lamp).at(0, 0), expected(4 + 1, 16 + 2));
  EXPECT_EQ(ComposePanel(*lamp).at(3, 1), expected(4 + 1 + 3, 16 + 2 + 1));
  EXPECT_EQ(driver.PeerOf(box).face.at(0, 0), expected(4 + 3, 16));
  EXPECT_EQ(ComposeBackdrop(*box).at(2, 5), expected(4 + 3 + 2, 16 + 5));

  // A lamp image with transparent pixels shows the group's face through them.
  lamp->SetPixmap(Pixmap(1, 1, 4, {0, 255, 0, 0}), 0);
  EXPECT_EQ(driver.PeerOf(lamp).face.at(0, 0), expected(5, 18));
}

TEST_F(PanelPaintTest, ImagesWithoutAlphaCoverAndAPanelWithoutAnyColourIsClear) {
  TGadget* panel = NewPanel(0, 0, 2, 1, win, 0, "");
  EXPECT_EQ(ComposePanel(*panel).at(0, 0), 0u);  // the platform's face shows through
  win->SetColor(1, 2, 3);
  EXPECT_EQ(ComposePanel(*panel).at(0, 0), 0xFF010203u);
  panel->SetPixmap(Pixmap(1, 1, 1, {0x80}), 0);
  EXPECT_EQ(ComposePanel(*panel).at(1, 0), 0xFF808080u);
}

// A picture of one flat colour, with its double-size version in another, tells which one a face was read from.
std::shared_ptr<TPixmap> Flat(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  std::vector<std::uint8_t> pixels;
  for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), {r, g, b});
  return Pixmap(width, height, 3, pixels);
}

TEST_F(PanelPaintTest, LargeScalesReadTheDoubleSizePictureAndSmallerOnesScaleTheSingleOne) {
  auto lamp_image = Flat(5, 5, 0, 200, 0);
  lamp_image->double_size = Flat(10, 10, 200, 0, 0);
  TGadget* lamp = NewPanel(14, 0, 5, 5, win, 0, " ");
  lamp->SetPixmap(lamp_image, 0);
  struct Case {
    double layout, device;
    int size;
    std::uint32_t pixel;
  };
  const Case cases[] = {
      {1.0, 1.0, 5, 0xFF00C800},  {1.25, 1.0, 6, 0xFF00C800},  // Px(19) - Px(14) = 24 - 18
      {1.5, 1.0, 8, 0xFFC80000},                               // 29 - 21
      {1.0, 2.0, 10, 0xFFC80000},                              // a screen of twice the density under an unscaled layout
      {2.0, 1.0, 10, 0xFFC80000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout * c.device);
    SetLayoutScale(*win, c.layout);
    const PanelImage face = ComposePanel(*lamp, c.device);
    ASSERT_EQ(face.width, c.size);
    ASSERT_EQ(face.height, c.size);
    for (std::uint32_t pixel : face.pixels) ASSERT_EQ(pixel, c.pixel);
  }
}

TEST_F(PanelPaintTest, AtTwiceTheSizeTheDoubleSizePictureLandsPixelForPixel) {
  // Distinct pixels in the double-size picture: a face at scale 2 must show each exactly, tiled on.
  auto image = Flat(2, 2, 0, 0, 0);
  std::vector<std::uint8_t> pixels;
  for (int i = 0; i < 16; ++i) pixels.insert(pixels.end(), {static_cast<std::uint8_t>(10 * i), 7, 9});
  image->double_size = Pixmap(4, 4, 3, pixels);
  TGadget* panel = NewPanel(0, 0, 3, 2, win, 0, "");
  panel->SetPixmap(image, 0);
  SetLayoutScale(*win, 2.0);
  const PanelImage face = ComposePanel(*panel);
  ASSERT_EQ(face.width, 6);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(face.at(x, y), 0xFF000709u | static_cast<std::uint32_t>(10 * ((y % 4) * 4 + x % 4)) << 16)
          << x << "," << y;
}

TEST_F(PanelPaintTest, AScaledSinglePictureBlendsBetweenItsPixelsAndKeepsItsAlpha) {
  // Black and white halves scaled by 1.5: the seam gets an in-between grey, the halves stay pure, and a
  // half-transparent picture stays half transparent over the colour behind it.
  TGadget* panel = NewPanel(0, 0, 2, 1, win, 0, "");
  panel->SetColor(0, 0, 255);
  panel->SetPixmap(Pixmap(2, 1, 3, {0, 0, 0, 255, 255, 255}), 0);
  SetLayoutScale(*win, 1.5);
  PanelImage face = ComposePanel(*panel);
  ASSERT_EQ(face.width, 3);
  EXPECT_EQ(face.at(0, 0), 0xFF000000u);
  EXPECT_EQ(face.at(2, 0), 0xFFFFFFFFu);
  EXPECT_EQ(face.at(1, 0), 0xFF808080u);
  panel->SetPixmap(Pixmap(1, 1, 4, {255, 0, 0, 128}), 0);
  face = ComposePanel(*panel);
  for (std::uint32_t pixel : face.pixels) EXPECT_EQ(pixel, 0xFF7F007Fu);
}

}  // namespace
}  // namespace raziz::test
