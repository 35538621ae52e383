#pragma once

#include <string_view>

#include "assets/draw/canvas.h"

namespace draw {

// A 3 x 5 pixel font for the digits 0..9, crisp at the small sizes the scale needs.
constexpr int glyph_width = 3;
constexpr int glyph_height = 5;
constexpr int glyph_gap = 1;

int text_width(std::string_view digits);
// Draws digits with their top-left pixel at (x, y); anything that is not a digit leaves a blank.
void draw_digits(Canvas& canvas, int x, int y, std::string_view digits, Rgba colour);

}  // namespace draw
