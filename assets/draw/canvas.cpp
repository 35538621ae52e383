#include "assets/draw/canvas.h"

#include <algorithm>

namespace draw {

float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float smoothstep(float edge0, float edge1, float v) {
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

Rgba rgb255(int r, int g, int b, float a) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f, a};
}

Rgba mix(Rgba from, Rgba to, float t) {
    t = clamp01(t);
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

Rgba with_alpha(Rgba colour, float a) {
    colour.a = a;
    return colour;
}

Rgba ramp(const std::vector<Stop>& stops, float t) {
    if (t <= stops.front().at) return stops.front().colour;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            const float span = stops[i].at - stops[i - 1].at;
            return mix(stops[i - 1].colour, stops[i].colour, span > 0 ? (t - stops[i - 1].at) / span : 1.0f);
        }
    }
    return stops.back().colour;
}

Canvas::Canvas(int width, int height, int scale)
    : width_(width * scale),
      height_(height * scale),
      scale_(scale),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {}

void Canvas::blend(int x, int y, Rgba colour, float coverage) {
    for (int dy = 0; dy < scale_; ++dy) {
        for (int dx = 0; dx < scale_; ++dx) blend_pixel(x * scale_ + dx, y * scale_ + dy, colour, coverage);
    }
}

void Canvas::blend_pixel(int x, int y, Rgba colour, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const float a = clamp01(colour.a) * clamp01(coverage);
    if (a <= 0.0f) return;
    Premultiplied& p =
            pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    const float keep = 1.0f - a;
    p.r = clamp01(colour.r) * a + p.r * keep;
    p.g = clamp01(colour.g) * a + p.g * keep;
    p.b = clamp01(colour.b) * a + p.b * keep;
    p.a = a + p.a * keep;
}

void Canvas::fill(const Shape& shape, const Paint& paint, float softness) {
    const auto scale = static_cast<float>(scale_);
    // Distances are measured in pixels: an antialiased edge stays one pixel wide, a blur keeps its size.
    const float soft_pixels = softness <= 1.0f ? softness : softness * scale;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const float cx = (static_cast<float>(x) + 0.5f) / scale;
            const float cy = (static_cast<float>(y) + 0.5f) / scale;
            const float coverage = clamp01(0.5f - shape(cx, cy) * scale / soft_pixels);
            if (coverage > 0.0f) blend_pixel(x, y, paint(cx, cy), coverage);
        }
    }
}

void Canvas::fill(const Shape& shape, Rgba colour, float softness) {
    fill(
            shape, [colour](float, float) { return colour; }, softness);
}

Rgba Canvas::at(int x, int y) const {
    const Premultiplied& p =
            pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    if (p.a <= 0.0f) return {0, 0, 0, 0};
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

}  // namespace draw
