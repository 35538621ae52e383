#include "assets/draw/pixel_font.h"

#include <array>

namespace draw {

namespace {

// One row per string, '#' for an inked pixel.
constexpr std::array<std::array<const char*, glyph_height>, 10> glyphs = {{
        {"###", "#.#", "#.#", "#.#", "###"},
        {".#.", "##.", ".#.", ".#.", "###"},
        {"###", "..#", "###", "#..", "###"},
        {"###", "..#", ".##", "..#", "###"},
        {"#.#", "#.#", "###", "..#", "..#"},
        {"###", "#..", "###", "..#", "###"},
        {"###", "#..", "###", "#.#", "###"},
        {"###", "..#", "..#", ".#.", ".#."},
        {"###", "#.#", "###", "#.#", "###"},
        {"###", "#.#", "###", "..#", "###"},
}};

}  // namespace

int text_width(std::string_view digits) {
    if (digits.empty()) return 0;
    return static_cast<int>(digits.size()) * (glyph_width + glyph_gap) - glyph_gap;
}

void draw_digits(Canvas& canvas, int x, int y, std::string_view digits, Rgba colour) {
    for (char ch : digits) {
        if (ch >= '0' && ch <= '9') {
            const auto& glyph = glyphs[static_cast<std::size_t>(ch - '0')];
            for (int row = 0; row < glyph_height; ++row) {
                for (int col = 0; col < glyph_width; ++col) {
                    if (glyph[static_cast<std::size_t>(row)][col] == '#') canvas.blend(x + col, y + row, colour);
                }
            }
        }
        x += glyph_width + glyph_gap;
    }
}

}  // namespace draw
