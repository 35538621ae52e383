#pragma once

#include "assets/draw/canvas.h"

namespace draw {

// The backdrop of a 50 x 230 slider well: a dark fader plate with a level scale.
// The well tiles it from its own top-left corner, and its vertical slider (value 1 at the bottom,
// 200 at the top) stands at columns 13..35 and rows 17..216 of the picture. A track bar's thumb
// travels about 8 pixels short of either end, so the scale runs from row 25 (100 %) down to
// row 209 (0 %).
constexpr int backdrop_width = 50;
constexpr int backdrop_height = 230;
constexpr int slider_left = 13;
constexpr int slider_right = 35;  // inclusive
constexpr int slider_top = 17;
constexpr int slider_bottom = 216;  // inclusive
constexpr int scale_top_row = 25;
constexpr int scale_bottom_row = 209;

// The row that marks a level in percent (0..100).
int scale_row(int percent);

Canvas draw_slider_backdrop(int scale = 1);

}  // namespace draw
