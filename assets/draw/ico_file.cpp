#include "assets/draw/ico_file.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace draw {

namespace {

void put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::uint8_t to_byte(float v) { return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f)); }

}  // namespace

void write_ico_24bit(const std::string& path, const Canvas& canvas) {
    const int w = canvas.width(), h = canvas.height();
    if (w < 1 || h < 1 || w > 255 || h > 255) throw std::runtime_error("icon size out of range for " + path);

    // Bitmap rows are bottom-up and padded to 4 bytes, the colour rows and the mask rows alike.
    const std::uint32_t colour_stride = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
    const std::uint32_t mask_stride = ((static_cast<std::uint32_t>(w) + 31) / 32) * 4;
    const std::uint32_t header_size = 40;
    const std::uint32_t image_size = header_size + (colour_stride + mask_stride) * static_cast<std::uint32_t>(h);
    const std::uint32_t image_offset = 6 + 16;

    std::vector<std::uint8_t> out;
    // ICONDIR: reserved, type 1 (icon), one entry.
    put16(out, 0);
    put16(out, 1);
    put16(out, 1);
    // ICONDIRENTRY.
    out.push_back(static_cast<std::uint8_t>(w));
    out.push_back(static_cast<std::uint8_t>(h));
    out.push_back(0);  // no palette
    out.push_back(0);  // reserved
    put16(out, 1);     // planes
    put16(out, 24);    // bits per pixel
    put32(out, image_size);
    put32(out, image_offset);
    // BITMAPINFOHEADER; the height counts the colour image and the mask together.
    put32(out, header_size);
    put32(out, static_cast<std::uint32_t>(w));
    put32(out, static_cast<std::uint32_t>(h) * 2);
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);  // BI_RGB
    put32(out, (colour_stride + mask_stride) * static_cast<std::uint32_t>(h));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);

    for (int y = h - 1; y >= 0; --y) {
        std::uint32_t written = 0;
        for (int x = 0; x < w; ++x) {
            const Rgba c = canvas.at(x, y);
            const bool opaque = c.a >= 0.5f;
            out.push_back(opaque ? to_byte(c.b) : 0);
            out.push_back(opaque ? to_byte(c.g) : 0);
            out.push_back(opaque ? to_byte(c.r) : 0);
            written += 3;
        }
        for (; written < colour_stride; ++written) out.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(mask_stride, 0);
        for (int x = 0; x < w; ++x) {
            if (canvas.at(x, y).a < 0.5f)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }

    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace draw
