#include "assets/draw/emblem.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "assets/draw/shapes.h"

namespace draw {

namespace {

std::vector<Point> sine_path(float left, float right, float mid_y, float amplitude, float periods) {
    std::vector<Point> points;
    const int steps = 160;
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / steps;
        const float phase = t * periods * 2.0f * std::numbers::pi_v<float>;
        points.push_back({left + (right - left) * t, mid_y - amplitude * std::sin(phase)});
    }
    return points;
}

}  // namespace

Canvas draw_emblem(int size) {
    Canvas canvas(size, size);
    const float s = static_cast<float>(size);
    const float margin = std::max(1.0f, s * 0.035f);
    const float left = margin, top = margin, right = s - margin, bottom = s - margin;
    const float radius = s * 0.2f;
    const float cx = s / 2.0f, cy = s / 2.0f;
    const bool large = size >= 96;

    if (large)
        canvas.fill(rounded_box(left, top + s * 0.015f, right, bottom + s * 0.015f, radius), rgb255(0, 0, 0, 0.35f),
                    s * 0.03f);

    // Badge: deep blue, lighter toward the top, with a dark edge that keeps it crisp on light title bars.
    canvas.fill(rounded_box(left, top, right, bottom, radius), rgb255(8, 26, 58));
    const float edge = std::max(0.8f, s * 0.02f);
    canvas.fill(rounded_box(left + edge, top + edge, right - edge, bottom - edge, radius - edge), [=](float, float y) {
        return ramp({{0.0f, rgb255(40, 132, 214)}, {0.55f, rgb255(18, 72, 150)}, {1.0f, rgb255(10, 38, 92)}},
                    (y - top) / (bottom - top));
    });
    // Gloss over the upper half, clipped to the badge.
    canvas.fill(intersect(rounded_box(left + edge, top + edge, right - edge, bottom - edge, radius - edge),
                          ellipse(cx, top - s * 0.18f, s * 0.75f, s * 0.62f)),
                [=](float, float y) { return rgb255(255, 255, 255, 0.22f * (1.0f - (y - top) / (s * 0.45f))); });

    // The zero line the wave swings about.
    const float wave_left = left + s * 0.14f, wave_right = right - s * 0.14f;
    canvas.fill(stroke({{wave_left, cy}, {wave_right, cy}}, std::max(1.0f, s * 0.02f)),
                rgb255(150, 200, 255, large ? 0.35f : 0.30f));

    // The wave: a soft cyan glow under a white stroke, one full period across.
    const float amplitude = s * 0.21f;
    const float width = std::max(2.2f, s * 0.075f);
    const std::vector<Point> wave = sine_path(wave_left, wave_right, cy, amplitude, 1.0f);
    canvas.fill(stroke(wave, width * 2.2f), rgb255(90, 220, 255, 0.45f), std::max(1.5f, s * 0.06f));
    canvas.fill(stroke(wave, width), [=](float, float y) {
        return mix(rgb255(255, 255, 255), rgb255(170, 236, 255), (y - (cy - amplitude)) / (2.0f * amplitude));
    });

    return canvas;
}

}  // namespace draw
