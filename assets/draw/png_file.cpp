#include "assets/draw/png_file.h"

#include <png.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

namespace draw {

namespace {

png_byte to_byte(float v) { return static_cast<png_byte>(std::lround(clamp01(v) * 255.0f)); }

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

void write_png(const std::string& path, const Canvas& canvas, Channels channels) {
    const int per_pixel = channels == Channels::rgba ? 4 : 3;
    const auto width = static_cast<std::size_t>(canvas.width());
    std::vector<png_byte> rows(width * static_cast<std::size_t>(canvas.height()) * static_cast<std::size_t>(per_pixel));
    std::size_t i = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const Rgba c = canvas.at(x, y);
            rows[i++] = to_byte(c.r);
            rows[i++] = to_byte(c.g);
            rows[i++] = to_byte(c.b);
            if (per_pixel == 4) rows[i++] = to_byte(c.a);
        }
    }

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) throw std::runtime_error("cannot open " + path + " for writing");

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("libpng could not start writing " + path);
    }
    // libpng reports errors by longjmp; everything that needs unwinding is set up before this point.
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed while writing " + path);
    }
    png_init_io(png, file.get());
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(canvas.width()), static_cast<png_uint_32>(canvas.height()), 8,
                 channels == Channels::rgba ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    const std::size_t stride = width * static_cast<std::size_t>(per_pixel);
    for (int y = 0; y < canvas.height(); ++y) png_write_row(png, rows.data() + static_cast<std::size_t>(y) * stride);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0) throw std::runtime_error("cannot finish writing " + path);
}

}  // namespace draw
