#pragma once
// The decoders LoadPixmap tries in turn. Each returns null for content that is not its format or is broken,
// and refuses a size it would not be sensible to allocate before allocating anything.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "ui/widgets/core/pixmap.h"

namespace raziz::ui::image {

constexpr long long kMaxSide = 16384;
constexpr long long kMaxPixels = 64LL * 1024 * 1024;

inline bool SizeAllowed(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

std::shared_ptr<TPixmap> DecodeTga(const std::uint8_t* data, std::size_t size);
std::shared_ptr<TPixmap> DecodePng(const std::uint8_t* data, std::size_t size);
std::shared_ptr<TPixmap> DecodeJpeg(const std::uint8_t* data, std::size_t size);  // null where not built in
std::shared_ptr<TPixmap> DecodeBmp(const std::uint8_t* data, std::size_t size);

}  // namespace raziz::ui::image
