#pragma once

#include "assets/draw/canvas.h"

namespace draw {

// The maker's emblem: a bright sine wave across a glossy blue rounded badge on a transparent
// square. Drawn afresh at each size, with strokes kept at least a pixel or two wide when small.
Canvas draw_emblem(int size);

}  // namespace draw
