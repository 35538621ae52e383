#pragma once
// PNG files written chunk by chunk, so a test can give every sample, chunk and checksum exactly the value it
// wants (and break any of them), with the pixels the loader should make of them worked out independently.

#include <cstdint>
#include <string>
#include <vector>

namespace raziz::test {

using Bytes = std::vector<std::uint8_t>;

struct PngPicture {
  std::uint32_t width = 1, height = 1;
  int colour_type = 0;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
  int bit_depth = 8;
  Bytes palette;                       // RGB triples
  Bytes palette_alpha;                 // tRNS for a palette
  int grey_key = -1;                   // tRNS for grey: the transparent sample value
  std::vector<std::uint16_t> samples;  // width * height * samples-per-pixel, at bit_depth
};

int SamplesPerPixel(int colour_type);

// A picture whose samples run through their whole range.
PngPicture Gradient(std::uint32_t width, std::uint32_t height, int colour_type, int bit_depth);

// The whole file: signature, IHDR, PLTE and tRNS as needed, a tEXt chunk, IDAT, IEND.
Bytes EncodePng(const PngPicture& picture);

// Only a signature and an IHDR claiming a size, with a correct checksum.
Bytes PngHeader(std::uint32_t width, std::uint32_t height, int colour_type = 2, int bit_depth = 8);

// Appends a chunk with a correct checksum.
void AppendChunk(Bytes& png, const std::string& type, const Bytes& data);

// The offset of the first chunk of a type (its length field), or npos.
std::size_t FindChunk(const Bytes& png, const std::string& type);

// What the loader should give: 16-bit samples cut to their high byte, low-bit grey stretched to 0..255,
// palettes looked up, transparency as alpha; grey alone stays one channel, grey with alpha becomes RGBA.
struct Expected {
  int channels = 0;
  Bytes pixels;
};
Expected ExpectedPixels(const PngPicture& picture);

}  // namespace raziz::test
