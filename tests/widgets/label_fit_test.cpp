// One-line labels: a text a little too wide is set smaller, anything else is left to wrap and clip.

#include <gtest/gtest.h>

#include "ui/widgets/core/label_fit.h"

namespace raziz::test {

using namespace raziz::ui;
namespace {

TEST(LabelFit, ShrinksOnlyAOneLineTextThatAFifthSmallerWouldFit) {
  struct Case {
    const char* what;
    LabelMeasure measure;  // box width, box height, text width, line height
    double scale;
  };
  const Case cases[] = {
      {"fits", {271, 14, 250, 13}, 1.0},
      {"fits exactly", {36, 14, 36, 13}, 1.0},
      {"a little too wide", {271, 14, 300, 13}, 270.0 / 300},
      {"a fifth too wide at most", {241, 14, 300, 13}, 0.8},
      {"far too wide: wraps", {200, 14, 300, 13}, 1.0},
      {"two lines high: wraps", {271, 26, 300, 13}, 1.0},
      {"nothing measured", {271, 14, 0, 0}, 1.0},
      {"no box", {0, 14, 300, 13}, 1.0},
  };
  for (const Case& c : cases) { EXPECT_DOUBLE_EQ(LabelFontScale(c.measure), c.scale) << c.what; }
}

}  // namespace
}  // namespace raziz::test
