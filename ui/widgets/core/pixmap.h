#pragma once
// Images, decoded into plain pixel buffers.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace raziz::ui {

struct TPixmap {
  int width = 0;
  int height = 0;
  int channels = 0;                   // 4 RGBA, 3 RGB, 1 grey; rows packed, top row first
  std::vector<std::uint8_t> pixels;   // width * height * channels bytes
  bool has_alpha() const { return channels == 4; }
};

// Reads an image file, trying its content as TGA, PNG, JPEG and BMP in that order whatever its name.
// Returns null for a missing file or content that is not a decodable image; never throws.
std::shared_ptr<TPixmap> LoadPixmap(const std::string& path);

// The same for bytes already in memory.
std::shared_ptr<TPixmap> DecodePixmap(const std::uint8_t* data, std::size_t size);

}  // namespace raziz::ui
