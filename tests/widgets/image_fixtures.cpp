#include "tests/widgets/image_fixtures.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include <unistd.h>

#if RAZIZ_TEST_JPEG
#include <jpeglib.h>
#endif

namespace raziz::test {

namespace {

void Append(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}
void Flush(png_structp) {}

// Under WritePng's setjmp: holds nothing that needs destroying.
void WriteRows(png_structp png, png_infop info, const PngSpec& s, Bytes& out, std::vector<png_bytep>& rows) {
  png_set_write_fn(png, &out, Append, Flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(s.width), static_cast<png_uint_32>(s.height), s.bit_depth,
               s.colour_type, s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (std::size_t i = 0; i + 2 < s.palette.size(); i += 3)
    palette.push_back({s.palette[i], s.palette[i + 1], s.palette[i + 2]});
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  png_color_16 key{};
  if (!s.trns.empty()) {
    if (s.colour_type == PNG_COLOR_TYPE_PALETTE) {
      png_set_tRNS(png, info, s.trns.data(), static_cast<int>(s.trns.size()), nullptr);
    } else {
      key.gray = key.red = static_cast<png_uint_16>(s.trns[0]);
      key.green = s.trns.size() > 1 ? static_cast<png_uint_16>(s.trns[1]) : 0;
      key.blue = s.trns.size() > 2 ? static_cast<png_uint_16>(s.trns[2]) : 0;
      png_set_tRNS(png, info, nullptr, 0, &key);
    }
  }
  png_write_info(png, info);
  const std::size_t stride = s.rows.size() / static_cast<std::size_t>(s.height);
  for (int y = 0; y < s.height; ++y) rows.push_back(const_cast<png_bytep>(s.rows.data()) + stride * y);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
}

}  // namespace

Bytes EncodePng(const PngSpec& shape) {
  Bytes out;
  std::vector<png_bytep> rows;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("fixture: libpng could not write the image");
  }
  WriteRows(png, info, shape, out, rows);
  png_destroy_write_struct(&png, &info);
  return out;
}

void Put16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

Bytes PngHeaderOnly(std::uint32_t width, std::uint32_t height) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes chunk = {'I', 'H', 'D', 'R'};
  for (std::uint32_t v : {width, height}) {
    for (int shift : {24, 16, 8, 0}) chunk.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  chunk.insert(chunk.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, not interlaced
  out.insert(out.end(), {0, 0, 0, 13});
  out.insert(out.end(), chunk.begin(), chunk.end());
  const auto crc = static_cast<std::uint32_t>(crc32(0, chunk.data(), static_cast<uInt>(chunk.size())));
  for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(crc >> shift));
  return out;
}

Bytes EncodeJpeg(int width, int height, int components, const std::uint8_t colour[3]) {
#if RAZIZ_TEST_JPEG
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  Bytes row;
  for (int x = 0; x < width; ++x) row.insert(row.end(), colour, colour + components);
  while (info.next_scanline < info.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
#else
  (void)width, (void)height, (void)components, (void)colour;
  return {};
#endif
}

namespace {

std::filesystem::path TempFolder() {
  return std::filesystem::temp_directory_path() / ("raziz-widget-tests-" + std::to_string(::getpid()));
}

}  // namespace

void RemoveTempFiles() { std::filesystem::remove_all(TempFolder()); }

std::string WriteTempFile(const std::string& name, const Bytes& bytes) {
  const auto dir = TempFolder();
  std::filesystem::create_directories(dir);
  const std::string path = (dir / name).string();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("fixture: cannot write " + path);
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

}  // namespace raziz::test
