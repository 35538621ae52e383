#pragma once

#include <string>

#include "assets/draw/canvas.h"

namespace draw {

// Writes a Windows icon file holding one image: the canvas (at most 255 x 255) as a 24-bit
// bitmap with its 1-bit transparency mask. Pixels at least half covered are opaque and keep
// their own colour; the rest are transparent. Throws std::runtime_error when writing fails.
void write_ico_24bit(const std::string& path, const Canvas& canvas);

}  // namespace draw
