#pragma once

#include <string>

#include "assets/draw/canvas.h"

namespace draw {

enum class Channels { rgb, rgba };

// Writes the canvas as an 8-bit PNG. With Channels::rgb the canvas must already be opaque
// (what little alpha is left is dropped). Throws std::runtime_error when the file cannot be written.
void write_png(const std::string& path, const Canvas& canvas, Channels channels);

}  // namespace draw
