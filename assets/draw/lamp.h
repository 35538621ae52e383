#pragma once

#include "assets/draw/canvas.h"

namespace draw {

enum class LampColour { green, red };

// The lamp lens sits in a chrome bezel centred in a 50 x 50 picture whose corners stay transparent,
// so the panel behind shows through. It is drawn lit, as the strip shows it in both states.
constexpr int lamp_size = 50;
Canvas draw_lamp(LampColour colour, int scale = 1);

}  // namespace draw
