// Reading an image: the content decides the format, tried as TGA, PNG, JPEG and BMP in that order.

#include <cstdio>
#include <vector>

#include "ui/widgets/core/image_decoders.h"
#include "ui/widgets/core/pixmap.h"

namespace raziz::ui {

namespace {

// No image this layer shows comes near this; a larger file is refused rather than read into memory.
constexpr long kMaxFileBytes = 256L * 1024 * 1024;

}  // namespace

std::shared_ptr<TPixmap> DecodePixmap(const std::uint8_t* data, std::size_t size) {
  if (!data || size == 0) return nullptr;
  try {
    if (auto p = image::DecodeTga(data, size)) return p;
    if (auto p = image::DecodePng(data, size)) return p;
    if (auto p = image::DecodeJpeg(data, size)) return p;
    return image::DecodeBmp(data, size);
  } catch (...) {  // out of memory: no image, like any other undecodable content
    return nullptr;
  }
}

std::string DoubleSizeName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.find_last_of('.');
  const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  const bool has_extension = dot != std::string::npos && dot > name_start;  // ".hidden" has none
  if (!has_extension) return path + "@2x";
  return path.substr(0, dot) + "@2x" + path.substr(dot);
}

namespace {

std::shared_ptr<TPixmap> ReadImageFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return nullptr;
  std::vector<std::uint8_t> bytes;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long length = ok ? std::ftell(file) : -1;
  ok = ok && length > 0 && length <= kMaxFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    try {
      bytes.resize(static_cast<std::size_t>(length));
    } catch (...) { ok = false; }
  }
  ok = ok && std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  std::fclose(file);
  if (!ok) return nullptr;
  return DecodePixmap(bytes.data(), bytes.size());
}

}  // namespace

std::shared_ptr<TPixmap> LoadPixmap(const std::string& path) {
  std::shared_ptr<TPixmap> pixmap = ReadImageFile(path);
  if (!pixmap) return nullptr;
  if (auto twice = ReadImageFile(DoubleSizeName(path)); twice &&
                                                        static_cast<long long>(twice->width) == 2LL * pixmap->width &&
                                                        static_cast<long long>(twice->height) == 2LL * pixmap->height) {
    pixmap->double_size = std::move(twice);
  }
  return pixmap;
}

}  // namespace raziz::ui
