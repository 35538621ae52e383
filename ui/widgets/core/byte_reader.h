#pragma once
// Little-endian reads that never run past the end of the buffer.

#include <cstddef>
#include <cstdint>

namespace raziz::ui::image {

class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Has(std::size_t offset, std::size_t count) const { return offset <= size_ && count <= size_ - offset; }
  std::uint32_t U8(std::size_t offset) const { return Has(offset, 1) ? data_[offset] : 0; }
  std::uint32_t U16(std::size_t offset) const { return U8(offset) | U8(offset + 1) << 8; }
  std::uint32_t U32(std::size_t offset) const { return U16(offset) | U16(offset + 2) << 16; }
  std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
  const std::uint8_t* At(std::size_t offset) const { return data_ + offset; }
  std::size_t size() const { return size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace raziz::ui::image
