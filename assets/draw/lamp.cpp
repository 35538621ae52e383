#include "assets/draw/lamp.h"

#include <cmath>

#include "assets/draw/shapes.h"

namespace draw {

namespace {

struct LensColours {
    Rgba core;    // white-hot centre
    Rgba bright;  // the lit colour itself
    Rgba deep;    // toward the edge of the lens
    Rgba edge;    // the rim of the lens, in its own shadow
};

LensColours lens_colours(LampColour colour) {
    if (colour == LampColour::green) {
        return {rgb255(226, 255, 214), rgb255(88, 236, 72), rgb255(22, 170, 36), rgb255(6, 88, 20)};
    }
    return {rgb255(255, 228, 206), rgb255(255, 82, 58), rgb255(212, 22, 16), rgb255(112, 6, 6)};
}

}  // namespace

Canvas draw_lamp(LampColour colour, int scale) {
    Canvas canvas(lamp_size, lamp_size, scale);
    const float c = lamp_size / 2.0f;
    const LensColours lens = lens_colours(colour);

    const float bezel_r = 22.5f;
    const float chamfer_r = 19.2f;
    const float lens_r = 17.4f;

    // Soft shadow under the bezel, a little below it as if lit from above.
    canvas.fill(circle(c, c + 1.0f, bezel_r), rgb255(0, 0, 0, 0.38f), 3.0f);

    // Bezel: a dark outline, then brushed chrome lit from the top left.
    canvas.fill(circle(c, c, bezel_r), rgb255(58, 60, 66));
    canvas.fill(circle(c, c, bezel_r - 0.9f), [=](float x, float y) {
        const float t = ((x - c) + (y - c)) / (2.0f * bezel_r) + 0.5f;  // 0 top left .. 1 bottom right
        return ramp({{0.0f, rgb255(250, 251, 253)},
                     {0.35f, rgb255(206, 209, 215)},
                     {0.65f, rgb255(148, 151, 160)},
                     {1.0f, rgb255(96, 99, 108)}},
                    t);
    });
    // Chamfer into the recess, lit the other way round, warmed by the lamp's own light.
    canvas.fill(circle(c, c, chamfer_r), [=](float x, float y) {
        const float t = ((x - c) + (y - c)) / (2.0f * chamfer_r) + 0.5f;
        return ramp({{0.0f, rgb255(86, 88, 96)}, {0.5f, rgb255(150, 153, 161)}, {1.0f, rgb255(236, 238, 242)}}, t);
    });
    canvas.fill(subtract(circle(c, c, chamfer_r), circle(c, c, lens_r)), with_alpha(lens.bright, 0.22f));
    // A thin dark gap where the lens meets the metal.
    canvas.fill(circle(c, c, lens_r + 0.7f), rgb255(24, 20, 20));

    // The lens: a radial glow whose hot spot sits a little above the centre.
    const float hot_x = c, hot_y = c - 2.0f;
    canvas.fill(circle(c, c, lens_r), [=](float x, float y) {
        const float t = std::hypot(x - hot_x, y - hot_y) / (lens_r + 2.0f);
        return ramp({{0.0f, lens.core}, {0.28f, lens.bright}, {0.72f, lens.deep}, {1.0f, lens.edge}}, t);
    });
    // The bezel's lip shades the top of the lens.
    canvas.fill(subtract(circle(c, c, lens_r), circle(c, c + 3.5f, lens_r + 1.0f)), rgb255(0, 0, 0, 0.30f), 3.0f);
    // Light bouncing inside the dome brightens its lower rim.
    canvas.fill(subtract(circle(c, c, lens_r - 1.0f), circle(c, c - 2.5f, lens_r - 1.5f)),
                with_alpha(mix(lens.bright, lens.core, 0.4f), 0.55f), 2.5f);

    // Specular highlight: a broad window reflection fading downward, and a small sharp glint.
    const float hl_top = c - lens_r + 2.0f, hl_bottom = c - 2.5f;
    canvas.fill(ellipse(c, (hl_top + hl_bottom) / 2.0f, 11.5f, (hl_bottom - hl_top) / 2.0f), [=](float, float y) {
        const float t = (y - hl_top) / (hl_bottom - hl_top);
        return rgb255(255, 255, 255, 0.9f * (1.0f - smoothstep(0.0f, 1.0f, t)) + 0.04f);
    });
    canvas.fill(ellipse(c - 6.0f, c - 9.5f, 2.4f, 1.6f), rgb255(255, 255, 255, 0.9f));

    return canvas;
}

}  // namespace draw
