#include "assets/draw/slider_backdrop.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "assets/draw/pixel_font.h"
#include "assets/draw/shapes.h"

namespace draw {

namespace {

// A fixed hash so the brushed grain is the same on every run.
float grain(int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFF) / 65535.0f - 0.5f;
}

Rgba plate_colour(float y) {
    return mix(rgb255(66, 70, 79), rgb255(42, 45, 52), y / static_cast<float>(backdrop_height));
}

}  // namespace

int scale_row(int percent) {
    const float span = static_cast<float>(scale_bottom_row - scale_top_row);
    return scale_bottom_row - static_cast<int>(std::lround(span * static_cast<float>(percent) / 100.0f));
}

Canvas draw_slider_backdrop(int scale) {
    Canvas canvas(backdrop_width, backdrop_height, scale);
    const float w = backdrop_width, h = backdrop_height;

    // The strip's grey shows in the rounded corners; the picture has no alpha.
    canvas.fill([](float, float) { return -1.0f; }, rgb255(192, 192, 192));
    // A recessed plate: light catches its lower-right lip, its upper-left edge is in shadow.
    canvas.fill(rounded_box(0.0f, 0.0f, w, h, 5.0f), rgb255(236, 236, 236));
    canvas.fill(rounded_box(0.0f, 0.0f, w - 1.0f, h - 1.0f, 5.0f), rgb255(30, 32, 37));
    canvas.fill(rounded_box(1.0f, 1.0f, w - 1.0f, h - 1.0f, 4.0f), [](float, float y) { return plate_colour(y); });
    // Horizontal brushed grain, faint enough to read as texture, not noise.
    for (int y = 2; y < backdrop_height - 2; ++y) {
        const float line = grain(0, y) * 0.6f;
        for (int x = 2; x < backdrop_width - 2; ++x) {
            const float v = line + grain(x, y) * 0.4f;
            canvas.blend(x, y, v > 0 ? rgb255(255, 255, 255) : rgb255(0, 0, 0), std::abs(v) * 0.07f);
        }
    }
    // Inner shadow along the top and left, below the plate's rim.
    canvas.fill(subtract(rounded_box(1.0f, 1.0f, w - 1.0f, h - 1.0f, 4.0f),
                         rounded_box(2.5f, 3.0f, w + 2.0f, h + 2.0f, 4.0f)),
                rgb255(0, 0, 0, 0.35f), 2.0f);

    // A darker channel behind the slider so the control sits in a slot of its own.
    canvas.fill(rounded_box(static_cast<float>(slider_left) + 0.5f, static_cast<float>(slider_top),
                            static_cast<float>(slider_right) + 0.5f, static_cast<float>(slider_bottom) + 1.0f, 3.0f),
                rgb255(0, 0, 0, 0.22f));

    // A thin meter bar beside the ticks: green at the bottom, amber, then red at full level.
    for (int y = scale_top_row; y <= scale_bottom_row; ++y) {
        const float level =
                static_cast<float>(scale_bottom_row - y) / static_cast<float>(scale_bottom_row - scale_top_row);
        const Rgba c = ramp({{0.0f, rgb255(46, 160, 67)},
                             {0.55f, rgb255(120, 196, 60)},
                             {0.78f, rgb255(236, 186, 48)},
                             {1.0f, rgb255(226, 60, 44)}},
                            level);
        canvas.blend(4, y, c, 0.85f);
    }

    // Ticks every 5 %, long ones with a label every 25 %.
    const Rgba major = rgb255(222, 226, 233);
    const Rgba minor = rgb255(140, 146, 158);
    for (int percent = 0; percent <= 100; percent += 5) {
        const int row = scale_row(percent);
        const bool is_major = percent % 25 == 0;
        const int from = is_major ? 6 : 9;
        for (int x = from; x <= slider_left - 2; ++x) canvas.blend(x, row, is_major ? major : minor);
        if (is_major) { draw_digits(canvas, slider_right + 2, row - glyph_height / 2, std::to_string(percent), major); }
    }
    return canvas;
}

}  // namespace draw
