#include "tests/robustness/png_maker.h"

#include <zlib.h>

#include <stdexcept>

namespace raziz::test {
namespace {

void Put32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(Bytes& out, const std::string& type, const Bytes& data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  Bytes body(type.begin(), type.end());
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  Put32(out, static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

Bytes Header(std::uint32_t width, std::uint32_t height, int colour_type, int bit_depth) {
  Bytes ihdr;
  Put32(ihdr, width);
  Put32(ihdr, height);
  ihdr.push_back(static_cast<std::uint8_t>(bit_depth));
  ihdr.push_back(static_cast<std::uint8_t>(colour_type));
  ihdr.insert(ihdr.end(), {0, 0, 0});  // deflate, adaptive filtering, not interlaced
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Chunk(out, "IHDR", ihdr);
  return out;
}

}  // namespace

int SamplesPerPixel(int colour_type) {
  switch (colour_type) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

PngPicture Gradient(std::uint32_t width, std::uint32_t height, int colour_type, int bit_depth) {
  PngPicture p;
  p.width = width;
  p.height = height;
  p.colour_type = colour_type;
  p.bit_depth = bit_depth;
  const std::uint32_t top = (1u << bit_depth) - 1;
  const int n = SamplesPerPixel(colour_type);
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x)
      for (int c = 0; c < n; ++c)
        p.samples.push_back(static_cast<std::uint16_t>((x * 7919 + y * 104729 + c * 65521) % (top + 1)));
  if (colour_type == 3) {
    for (std::uint32_t i = 0; i <= top; ++i)
      p.palette.insert(p.palette.end(), {static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i),
                                         static_cast<std::uint8_t>(i * 11)});
  }
  return p;
}

Bytes EncodePng(const PngPicture& p) {
  Bytes out = Header(p.width, p.height, p.colour_type, p.bit_depth);
  if (!p.palette.empty()) Chunk(out, "PLTE", p.palette);
  if (!p.palette_alpha.empty()) Chunk(out, "tRNS", p.palette_alpha);
  if (p.grey_key >= 0)
    Chunk(out, "tRNS", {static_cast<std::uint8_t>(p.grey_key >> 8), static_cast<std::uint8_t>(p.grey_key)});
  const std::string text("Comment\0made for a robustness test", 34);  // keyword, NUL, text
  Chunk(out, "tEXt", Bytes(text.begin(), text.end()));

  // Rows, each with filter byte 0, samples packed big-endian at the bit depth.
  const int n = SamplesPerPixel(p.colour_type);
  Bytes raw;
  std::size_t at = 0;
  for (std::uint32_t y = 0; y < p.height; ++y) {
    raw.push_back(0);
    std::uint32_t bits = 0, filled = 0;
    for (std::uint32_t i = 0; i < p.width * n; ++i) {
      const std::uint16_t s = p.samples[at++];
      if (p.bit_depth == 16) {
        raw.push_back(static_cast<std::uint8_t>(s >> 8));
        raw.push_back(static_cast<std::uint8_t>(s));
        continue;
      }
      bits = bits << p.bit_depth | s;
      filled += p.bit_depth;
      if (filled == 8) {
        raw.push_back(static_cast<std::uint8_t>(bits));
        bits = filled = 0;
      }
    }
    if (filled) raw.push_back(static_cast<std::uint8_t>(bits << (8 - filled)));
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(size);
  if (compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
    throw std::runtime_error("zlib failed");
  packed.resize(size);
  Chunk(out, "IDAT", packed);
  Chunk(out, "IEND", {});
  return out;
}

Bytes PngHeader(std::uint32_t width, std::uint32_t height, int colour_type, int bit_depth) {
  return Header(width, height, colour_type, bit_depth);
}

void AppendChunk(Bytes& png, const std::string& type, const Bytes& data) { Chunk(png, type, data); }

std::size_t FindChunk(const Bytes& png, const std::string& type) {
  std::size_t at = 8;
  while (at + 8 <= png.size()) {
    const std::uint32_t length =
        static_cast<std::uint32_t>(png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]);
    if (std::string(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8) == type)
      return at;
    at += 12 + static_cast<std::size_t>(length);
  }
  return std::string::npos;
}

Expected ExpectedPixels(const PngPicture& p) {
  const int n = SamplesPerPixel(p.colour_type);
  const std::uint32_t top = (1u << p.bit_depth) - 1;
  auto eight = [&](std::uint16_t s) { return static_cast<std::uint8_t>(p.bit_depth == 16 ? s >> 8 : s * 255 / top); };
  const bool alpha = p.colour_type == 4 || p.colour_type == 6 || !p.palette_alpha.empty() || p.grey_key >= 0;
  Expected e;
  e.channels = p.colour_type == 0 && !alpha ? 1 : alpha ? 4 : 3;
  for (std::size_t i = 0; i < p.samples.size(); i += n) {
    const std::uint16_t* s = &p.samples[i];
    std::uint8_t rgba[4] = {0, 0, 0, 255};
    switch (p.colour_type) {
      case 0:
        rgba[0] = rgba[1] = rgba[2] = eight(s[0]);
        if (p.grey_key == s[0]) rgba[3] = 0;
        break;
      case 4:
        rgba[0] = rgba[1] = rgba[2] = eight(s[0]);
        rgba[3] = eight(s[1]);
        break;
      case 3:
        for (int c = 0; c < 3; ++c) rgba[c] = p.palette[s[0] * 3 + c];
        if (s[0] < p.palette_alpha.size()) rgba[3] = p.palette_alpha[s[0]];
        break;
      default:
        for (int c = 0; c < n; ++c) rgba[c] = eight(s[c]);
    }
    e.pixels.insert(e.pixels.end(), rgba, rgba + e.channels);
  }
  return e;
}

}  // namespace raziz::test
