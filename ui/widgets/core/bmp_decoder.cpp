// Uncompressed BMP: 1, 4 and 8 bits with a palette, 16 and 32 bits by bit masks (or the default 5-5-5 and
// 8-8-8 layouts), 24 bits. Run-length compressed files are not decodable here.

#include <bit>
#include <vector>

#include "ui/widgets/core/byte_reader.h"
#include "ui/widgets/core/image_decoders.h"

namespace raziz::ui::image {

namespace {

constexpr std::uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;

struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint64_t top = 0;  // the largest value the field holds
};

Channel MakeChannel(std::uint32_t mask) {
  Channel c;
  c.mask = mask;
  if (mask == 0) return c;
  c.shift = std::countr_zero(mask);
  c.top = (std::uint64_t{1} << std::popcount(mask >> c.shift)) - 1;
  return c;
}

std::uint8_t Extract(const Channel& c, std::uint32_t pixel) {
  if (c.mask == 0 || c.top == 0) return 0;
  const std::uint64_t v = (pixel & c.mask) >> c.shift;
  return static_cast<std::uint8_t>(v > c.top ? 255 : v * 255 / c.top);
}

}  // namespace

std::shared_ptr<TPixmap> DecodeBmp(const std::uint8_t* data, std::size_t size) {
  const ByteReader in(data, size);
  if (!in.Has(0, 18) || data[0] != 'B' || data[1] != 'M') return nullptr;
  const std::size_t pixel_offset = in.U32(10);
  const std::size_t header = in.U32(14);
  if (!in.Has(14, header)) return nullptr;

  long long width = 0, height = 0;
  std::uint32_t bpp = 0, compression = kRgb, colours_used = 0;
  std::size_t palette_entry = 4;
  if (header == 12) {
    width = in.U16(18);
    height = in.U16(20);
    bpp = in.U16(24);
    palette_entry = 3;
  } else if (header >= 40) {
    width = in.I32(18);
    height = in.I32(22);
    bpp = in.U16(28);
    compression = in.U32(30);
    colours_used = in.U32(46);
  } else {
    return nullptr;
  }
  const bool top_down = height < 0;
  if (top_down) height = -height;
  if (!SizeAllowed(width, height)) return nullptr;

  Channel red, green, blue, alpha;
  std::size_t after_header = 14 + header;
  if (compression == kBitFields || compression == kAlphaBitFields) {
    if (bpp != 16 && bpp != 32) return nullptr;
    std::size_t masks = 14 + 40;
    if (header == 40) {  // the masks follow the header
      const std::size_t count = compression == kAlphaBitFields ? 16 : 12;
      if (!in.Has(masks, count)) return nullptr;
      after_header += count;
    }
    red = MakeChannel(in.U32(masks));
    green = MakeChannel(in.U32(masks + 4));
    blue = MakeChannel(in.U32(masks + 8));
    if (compression == kAlphaBitFields || header >= 56) alpha = MakeChannel(in.U32(masks + 12));
  } else if (compression == kRgb) {
    if (bpp == 16) {
      red = MakeChannel(0x7C00);
      green = MakeChannel(0x03E0);
      blue = MakeChannel(0x001F);
    } else if (bpp == 32) {
      red = MakeChannel(0x00FF0000);
      green = MakeChannel(0x0000FF00);
      blue = MakeChannel(0x000000FF);
    } else if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) {
      return nullptr;
    }
  } else {
    return nullptr;
  }

  std::vector<std::uint8_t> palette;  // RGB triples
  if (bpp <= 8) {
    std::size_t count = colours_used ? colours_used : std::size_t{1} << bpp;
    if (count > 256) return nullptr;
    if (!in.Has(after_header, count * palette_entry)) return nullptr;
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t at = after_header + i * palette_entry;
      palette.push_back(data[at + 2]);
      palette.push_back(data[at + 1]);
      palette.push_back(data[at]);
    }
  }

  const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
  const std::size_t stride = (w * bpp + 31) / 32 * 4;
  if (!in.Has(pixel_offset, stride * h)) return nullptr;

  const int channels = alpha.mask ? 4 : 3;
  auto pixmap = std::make_shared<TPixmap>();
  pixmap->width = static_cast<int>(w);
  pixmap->height = static_cast<int>(h);
  pixmap->channels = channels;
  pixmap->pixels.resize(w * h * channels);

  for (std::size_t y = 0; y < h; ++y) {
    const std::uint8_t* row = data + pixel_offset + stride * (top_down ? y : h - 1 - y);
    std::uint8_t* out = pixmap->pixels.data() + y * w * channels;
    for (std::size_t x = 0; x < w; ++x, out += channels) {
      if (bpp <= 8) {
        const std::size_t bit = x * bpp;
        const std::uint32_t index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
        if (index * 3 >= palette.size()) return nullptr;
        out[0] = palette[index * 3];
        out[1] = palette[index * 3 + 1];
        out[2] = palette[index * 3 + 2];
      } else if (bpp == 24) {
        out[0] = row[x * 3 + 2];
        out[1] = row[x * 3 + 1];
        out[2] = row[x * 3];
      } else {
        const std::uint32_t pixel = bpp == 16 ? ByteReader(row, stride).U16(x * 2) : ByteReader(row, stride).U32(x * 4);
        out[0] = Extract(red, pixel);
        out[1] = Extract(green, pixel);
        out[2] = Extract(blue, pixel);
        if (channels == 4) out[3] = Extract(alpha, pixel);
      }
    }
  }
  return pixmap;
}

}  // namespace raziz::ui::image
