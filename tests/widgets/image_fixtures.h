#pragma once
// Small images made in memory for the loader tests: PNG and JPEG through their libraries, BMP and TGA byte
// by byte.

#include <cstdint>
#include <string>
#include <vector>

namespace raziz::test {

using Bytes = std::vector<std::uint8_t>;

struct PngSpec {
  int width = 1, height = 1;
  int colour_type = 0;  // libpng's PNG_COLOR_TYPE_*
  int bit_depth = 8;
  bool interlaced = false;
  Bytes rows;     // packed rows as stored, top first
  Bytes palette;  // RGB triples
  Bytes trns;     // palette alphas, or a grey/RGB key as 16-bit samples
};

Bytes EncodePng(const PngSpec& shape);

// A PNG made only of a signature and an IHDR chunk claiming the given size.
Bytes PngHeaderOnly(std::uint32_t width, std::uint32_t height);

// Encodes a JPEG of one flat colour (components 1 or 3); empty where libjpeg is not built in.
Bytes EncodeJpeg(int width, int height, int components, const std::uint8_t colour[3]);

void Put16(Bytes& out, std::uint32_t v);
void Put32(Bytes& out, std::uint32_t v);

// Writes bytes to a fresh file in the test's temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const Bytes& bytes);
void RemoveTempFiles();

}  // namespace raziz::test
