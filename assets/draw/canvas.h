#pragma once

#include <functional>
#include <vector>

namespace draw {

// A colour with straight (not premultiplied) alpha, every channel in 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

Rgba rgb255(int r, int g, int b, float a = 1.0f);
Rgba mix(Rgba from, Rgba to, float t);
Rgba with_alpha(Rgba colour, float a);

// A colour ramp: stops sorted by position, linear between them, clamped at the ends.
struct Stop {
    float at;
    Rgba colour;
};
Rgba ramp(const std::vector<Stop>& stops, float t);

// Signed distance in pixels from a point to a shape's edge: negative inside.
using Shape = std::function<float(float x, float y)>;
// The colour of a shape at a point.
using Paint = std::function<Rgba(float x, float y)>;

// A picture kept premultiplied so that layers compose with the usual "over" rule. Drawing is in
// units; a canvas of scale 2 has twice as many pixels each way, so the same drawing comes out at
// double size with edges as sharp as at scale 1.
class Canvas {
   public:
    Canvas(int width, int height, int scale = 1);

    // In pixels.
    int width() const { return width_; }
    int height() const { return height_; }

    // Paints shape over what is there. Coverage comes from the distance at each pixel's centre,
    // so an edge fades across `softness` units: 1 gives a crisp antialiased edge (one pixel at any
    // scale), more a blur that grows with the scale.
    void fill(const Shape& shape, const Paint& paint, float softness = 1.0f);
    void fill(const Shape& shape, Rgba colour, float softness = 1.0f);
    // Composes one colour over the unit square at (x, y) with the given coverage (0..1).
    void blend(int x, int y, Rgba colour, float coverage = 1.0f);

    // Straight-alpha colour of a pixel.
    Rgba at(int x, int y) const;

   private:
    void blend_pixel(int x, int y, Rgba colour, float coverage);

    struct Premultiplied {
        float r = 0, g = 0, b = 0, a = 0;
    };
    int width_;
    int height_;
    int scale_;
    std::vector<Premultiplied> pixels_;
};

float clamp01(float v);
float smoothstep(float edge0, float edge1, float v);

}  // namespace draw
