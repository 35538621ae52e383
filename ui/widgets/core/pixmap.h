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
  int channels = 0;                  // 4 RGBA, 3 RGB, 1 grey; rows packed, top row first
  std::vector<std::uint8_t> pixels;  // width * height * channels bytes
  // The same picture drawn at twice the size, for screens that show the layout at 1.5 times or more.
  std::shared_ptr<const TPixmap> double_size;
  bool has_alpha() const { return channels == 4; }
};

// Reads an image file, trying its content as TGA, PNG, JPEG and BMP in that order whatever its name.
// Returns null for a missing file or content that is not a decodable image; never throws. A file of the same
// name with "@2x" before its extension ("verde@2x.png"), decoding to exactly twice the width and height,
// comes along as the result's double_size; any other such file is ignored.
std::shared_ptr<TPixmap> LoadPixmap(const std::string& path);

// The name of a file's double-size version: "@2x" before the extension of the last path component.
std::string DoubleSizeName(const std::string& path);

// The same for bytes already in memory.
std::shared_ptr<TPixmap> DecodePixmap(const std::uint8_t* data, std::size_t size);

}  // namespace raziz::ui
