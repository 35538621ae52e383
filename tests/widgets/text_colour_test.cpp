// Text on a background the layout fixes gets a colour that reads on it; elsewhere the theme decides.

#include <optional>

#include "tests/widgets/widget_test.h"
#include "ui/widgets/core/contrast.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

TEST(Contrast, RatiosMatchTheKnownValues) {
  struct Case {
    Rgb a, b;
    double ratio;
  };
  const Case cases[] = {
      {{0, 0, 0}, {255, 255, 255}, 21.0},       {{255, 255, 255}, {255, 255, 255}, 1.0},
      {{192, 192, 192}, {0, 0, 0}, 11.54},  // the strips' grey
      {{118, 118, 118}, {255, 255, 255}, 4.54}, {{255, 0, 0}, {255, 255, 255}, 4.0},
      {{0, 0, 255}, {0, 0, 0}, 2.44},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.01);
    EXPECT_NEAR(ContrastRatio(c.b, c.a), c.ratio, 0.01);
  }
}

TEST(Contrast, TheTextColourChosenReadsOnEveryBackground) {
  struct Case {
    Rgb background, text;
  };
  const Case cases[] = {
      {{255, 255, 255}, {0, 0, 0}},       {{192, 192, 192}, {0, 0, 0}}, {{0, 0, 0}, {255, 255, 255}},
      {{0, 0, 128}, {255, 255, 255}},     {{119, 119, 119}, {0, 0, 0}},  // mid grey, where black just wins
      {{116, 116, 116}, {255, 255, 255}},
  };
  for (const Case& c : cases) EXPECT_EQ(TextColourOn(c.background), c.text);
  // No colour leaves both black and white under 4.5:1, so the better one always reaches it.
  for (int r = 0; r < 256; r += 15)
    for (int g = 0; g < 256; g += 15)
      for (int b = 0; b < 256; b += 15) {
        const Rgb background{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
        ASSERT_GE(ContrastRatio(background, TextColourOn(background)), 4.5) << r << "," << g << "," << b;
      }
}

class TextColourTest : public WidgetTest {
 protected:
  TGadget* win = MakeWindow();
  TGadget* strip = NewPanel(0, 0, 88, 480, win, 3, "");
  TGadget* plain = NewPanel(4, 300, 80, 100, strip, 0, "");
};

TEST_F(TextColourTest, FixedBackgroundsGetFixedTextAndTheThemeKeepsTheRest) {
  strip->SetColor(192, 192, 192);
  TGadget* field = NewTextField(13, 115, 50, 18, strip, 0);
  TGadget* label = NewLabel("HERTZ", 20, 55, 36, 14, strip, 0);
  TGadget* box = NewButton("SQUARE", 4, 10, 74, 23, plain, 2);  // grey through a panel without a colour
  TGadget* push_box = NewButton("SQUARE", 4, 40, 74, 23, plain, 10);
  TGadget* button = NewButton("1000", 9, 74, 58, 34, strip, 4);
  TGadget* window_label = NewLabel("Raziz", 60, 20, 241, 14, win, 16);
  TGadget* area = NewTextArea(25, 55, 300, 130, win, 0);
  struct Case {
    const char* what;
    TGadget* gadget;
    std::optional<Rgb> colour;
  };
  const Case cases[] = {
      {"field", field, Rgb{0, 0, 0}},
      {"label on grey", label, Rgb{0, 0, 0}},
      {"check box on grey", box, Rgb{0, 0, 0}},
      {"group caption on its grey", strip, Rgb{0, 0, 0}},
      {"box drawn as a push button", push_box, std::nullopt},
      {"push button", button, std::nullopt},
      {"label on the window's own face", window_label, std::nullopt},
      {"text area", area, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(TextColourFor(*c.gadget), c.colour) << c.what;

  // A darker colour nearer the control wins; the program's own text colour wins over everything.
  plain->SetColor(20, 20, 60);
  EXPECT_EQ(TextColourFor(*box), (Rgb{255, 255, 255}));
  EXPECT_EQ(TextColourFor(*label), (Rgb{0, 0, 0}));
  label->SetTextColor(200, 0, 0);
  EXPECT_EQ(TextColourFor(*label), (Rgb{200, 0, 0}));
}

}  // namespace
}  // namespace raziz::test
