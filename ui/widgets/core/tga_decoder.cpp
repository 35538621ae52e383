// TGA: colour-mapped (8-bit indices), true colour (15, 16, 24, 32 bits) and 8-bit grey, plain or run-length
// encoded. TGA has no signature, so the header is checked strictly: other formats' first bytes never pass.

#include <vector>

#include "ui/widgets/core/byte_reader.h"
#include "ui/widgets/core/image_decoders.h"

namespace raziz::ui::image {

namespace {

enum ImageType : std::uint32_t { kMapped = 1, kTrue = 2, kGrey = 3, kRleMapped = 9, kRleTrue = 10, kRleGrey = 11 };

// One stored pixel (little-endian BGR(A) or 5-5-5) as RGBA.
void Expand(const std::uint8_t* p, std::uint32_t bits, std::uint8_t out[4]) {
  if (bits == 8) {
    out[0] = out[1] = out[2] = p[0];
    out[3] = 255;
  } else if (bits == 15 || bits == 16) {
    const std::uint32_t v = p[0] | p[1] << 8;
    out[0] = static_cast<std::uint8_t>(((v >> 10) & 31) * 255 / 31);
    out[1] = static_cast<std::uint8_t>(((v >> 5) & 31) * 255 / 31);
    out[2] = static_cast<std::uint8_t>((v & 31) * 255 / 31);
    out[3] = 255;
  } else {
    out[0] = p[2];
    out[1] = p[1];
    out[2] = p[0];
    out[3] = bits == 32 ? p[3] : 255;
  }
}

}  // namespace

std::shared_ptr<TPixmap> DecodeTga(const std::uint8_t* data, std::size_t size) {
  const ByteReader in(data, size);
  if (!in.Has(0, 18)) return nullptr;
  const std::uint32_t id_length = in.U8(0), map_type = in.U8(1), type = in.U8(2);
  const std::uint32_t map_first = in.U16(3), map_length = in.U16(5), map_bits = in.U8(7);
  const long long width = in.U16(12), height = in.U16(14);
  const std::uint32_t depth = in.U8(16), descriptor = in.U8(17);

  const bool rle = type >= kRleMapped;
  const std::uint32_t base = rle ? type - 8 : type;
  if (base != kMapped && base != kTrue && base != kGrey) return nullptr;
  if (map_type > 1 || (descriptor & 0xC0) != 0) return nullptr;
  if (map_type == 0 && (map_length != 0 || map_first != 0)) return nullptr;
  if (map_type == 1 && map_bits != 15 && map_bits != 16 && map_bits != 24 && map_bits != 32) return nullptr;
  if (base == kMapped && (map_type != 1 || depth != 8 || map_length == 0)) return nullptr;
  if (base == kTrue && depth != 15 && depth != 16 && depth != 24 && depth != 32) return nullptr;
  if (base == kGrey && depth != 8) return nullptr;
  if (!SizeAllowed(width, height)) return nullptr;

  const std::size_t map_entry = (map_bits + 7) / 8;
  const std::size_t map_offset = 18 + id_length;
  std::size_t at = map_offset + (map_type == 1 ? map_length * map_entry : 0);
  if (!in.Has(map_offset, at - map_offset)) return nullptr;

  const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
  const std::size_t bytes_per_pixel = (depth + 7) / 8;
  const std::size_t count = w * h;

  // The stored pixels in file order, unpacked from their runs.
  std::vector<std::uint8_t> stored;
  if (!rle) {
    if (!in.Has(at, count * bytes_per_pixel)) return nullptr;
    stored.assign(data + at, data + at + count * bytes_per_pixel);
  } else {
    stored.reserve(count * bytes_per_pixel);
    std::size_t done = 0;
    while (done < count) {
      if (!in.Has(at, 1)) return nullptr;
      const std::uint32_t packet = in.U8(at++);
      const std::size_t n = (packet & 0x7F) + 1;
      if (n > count - done) return nullptr;
      const std::size_t take = packet & 0x80 ? bytes_per_pixel : n * bytes_per_pixel;
      if (!in.Has(at, take)) return nullptr;
      if (packet & 0x80) {
        for (std::size_t i = 0; i < n; ++i) stored.insert(stored.end(), data + at, data + at + take);
      } else {
        stored.insert(stored.end(), data + at, data + at + take);
      }
      at += take;
      done += n;
    }
  }

  const std::uint32_t pixel_bits = base == kMapped ? map_bits : depth;
  const bool alpha = pixel_bits == 32 && (base == kMapped || (descriptor & 0x0F) != 0);
  const int channels = base == kGrey ? 1 : alpha ? 4 : 3;
  const bool top_down = descriptor & 0x20, right_to_left = descriptor & 0x10;

  auto pixmap = std::make_shared<TPixmap>();
  pixmap->width = static_cast<int>(w);
  pixmap->height = static_cast<int>(h);
  pixmap->channels = channels;
  pixmap->pixels.resize(count * channels);
  for (std::size_t y = 0; y < h; ++y) {
    const std::size_t sy = top_down ? y : h - 1 - y;
    for (std::size_t x = 0; x < w; ++x) {
      const std::size_t sx = right_to_left ? w - 1 - x : x;
      const std::uint8_t* p = stored.data() + (sy * w + sx) * bytes_per_pixel;
      std::uint8_t rgba[4];
      if (base == kMapped) {
        const std::uint32_t index = p[0];
        if (index < map_first || index - map_first >= map_length) return nullptr;
        Expand(data + map_offset + (index - map_first) * map_entry, map_bits, rgba);
      } else {
        Expand(p, depth, rgba);
      }
      std::uint8_t* out = pixmap->pixels.data() + (y * w + x) * channels;
      for (int c = 0; c < channels; ++c) out[c] = rgba[c];
    }
  }
  return pixmap;
}

}  // namespace raziz::ui::image
