// The committed pictures, decoded the way the program decodes them, checked for what the
// program relies on: sizes that fit their panels, lamps whose corners let the panel show through
// and whose colour tells the state, and an icon resource Windows accepts.

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace raziz::test {
namespace {

const std::string source_dir = RAZIZ_SOURCE_DIR;
const std::string binary_dir = RAZIZ_BINARY_DIR;

struct Image {
    int width = 0;
    int height = 0;
    bool has_alpha = false;
    std::vector<std::uint8_t> rgba;

    const std::uint8_t* pixel(int x, int y) const {
        return &rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4];
    }
};

Image decode(const std::string& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    Image image;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        ADD_FAILURE() << path << ": " << png.message;
        return image;
    }
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.has_alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = PNG_FORMAT_RGBA;
    image.rgba.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr)) {
        ADD_FAILURE() << path << ": " << png.message;
        image = {};
    }
    return image;
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

unsigned le16(const std::vector<std::uint8_t>& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return le16(b, at) | (static_cast<std::uint32_t>(le16(b, at + 2)) << 16);
}

// Transparent corners, an opaque middle: what lets a picture sit on any panel.
void expect_transparent_corners_opaque_centre(const Image& image) {
    const int w = image.width, h = image.height;
    for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) {
        EXPECT_EQ(image.pixel(x, y)[3], 0) << "corner " << x << "," << y;
    }
    EXPECT_EQ(image.pixel(w / 2, h / 2)[3], 255);
}

struct LampCase {
    const char* file;
    int dominant;  // 0 red, 1 green, 2 blue
};

void PrintTo(const LampCase& lamp, std::ostream* out) { *out << lamp.file; }

class Lamp : public testing::TestWithParam<LampCase> {};

TEST_P(Lamp, FitsItsPanelAndShowsItsColour) {
    const Image lamp = decode(source_dir + "/assets/" + GetParam().file);
    ASSERT_EQ(lamp.width, 50);
    ASSERT_EQ(lamp.height, 50);
    EXPECT_TRUE(lamp.has_alpha);
    expect_transparent_corners_opaque_centre(lamp);

    // The lens, away from the highlight, must be bright and plainly of its colour.
    double sum[3] = {0, 0, 0};
    int count = 0;
    for (int y = 26; y < 38; ++y) {
        for (int x = 15; x < 35; ++x) {
            const std::uint8_t* p = lamp.pixel(x, y);
            ASSERT_EQ(p[3], 255) << x << "," << y;
            for (int c = 0; c < 3; ++c) sum[c] += p[c];
            ++count;
        }
    }
    const int d = GetParam().dominant;
    const double main = sum[d] / count;
    EXPECT_GT(main, 150.0);
    for (int c = 0; c < 3; ++c) {
        if (c != d) { EXPECT_GT(main, 2.0 * sum[c] / count) << "channel " << c; }
    }
}

INSTANTIATE_TEST_SUITE_P(Committed, Lamp, testing::Values(LampCase{"verde.png", 1}, LampCase{"rosso.png", 0}),
                         [](const testing::TestParamInfo<LampCase>& lamp) {
                             return std::string(lamp.param.dominant == 1 ? "Green" : "Red");
                         });

TEST(SliderBackdrop, FillsTheWhole50By230WellOpaquely) {
    const Image well = decode(source_dir + "/assets/slider.png");
    ASSERT_EQ(well.width, 50);
    ASSERT_EQ(well.height, 230);
    for (int y = 0; y < well.height; ++y) {
        for (int x = 0; x < well.width; ++x) ASSERT_EQ(well.pixel(x, y)[3], 255) << x << "," << y;
    }
}

// The double-size pictures: exactly twice each way, so that a screen at twice the density shows them pixel
// for pixel, and the same picture: lamp corners still let the panel through, the well is still opaque,
// and the colours match the single-size picture's at the same places.
TEST(DoubleSize, EachPictureIsTwiceItsSingleSizeAndTheSamePicture) {
    for (const char* stem : {"verde", "rosso", "slider"}) {
        SCOPED_TRACE(stem);
        const Image one = decode(source_dir + "/assets/" + stem + ".png");
        const Image two = decode(source_dir + "/assets/" + stem + "@2x.png");
        ASSERT_EQ(two.width, 2 * one.width);
        ASSERT_EQ(two.height, 2 * one.height);
        EXPECT_EQ(two.has_alpha, one.has_alpha);
        if (one.has_alpha) expect_transparent_corners_opaque_centre(two);
        // Mean colour of each 10 x 10 block of the single-size picture against the same block at double size.
        for (int by = 0; by + 10 <= one.height; by += 10) {
            for (int bx = 0; bx + 10 <= one.width; bx += 10) {
                for (int c = 0; c < 4; ++c) {
                    double a = 0, b = 0;
                    for (int y = by; y < by + 10; ++y) {
                        for (int x = bx; x < bx + 10; ++x) {
                            a += one.pixel(x, y)[c];
                            for (int k = 0; k < 4; ++k) b += two.pixel(2 * x + k % 2, 2 * y + k / 2)[c] / 4.0;
                        }
                    }
                    EXPECT_NEAR(a / 100, b / 100, 24) << "block " << bx << "," << by << " channel " << c;
                }
            }
        }
    }
}

TEST(ImageCopies, StandNextToTheExecutables) {
    for (const char* name : {"verde.png", "rosso.png", "slider.png", "verde@2x.png", "rosso@2x.png", "slider@2x.png"}) {
        const auto committed = read_bytes(source_dir + "/assets/" + name);
        ASSERT_FALSE(committed.empty()) << name;
        EXPECT_EQ(read_bytes(binary_dir + "/" + name), committed) << name;
    }
}

TEST(ProgramIcon, LinuxPngsAreSquareAtEverySize) {
    for (int size : {32, 48, 128, 256}) {
        SCOPED_TRACE(size);
        const Image icon = decode(source_dir + "/packaging/icons/raziz-" + std::to_string(size) + ".png");
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        EXPECT_TRUE(icon.has_alpha);
        expect_transparent_corners_opaque_centre(icon);
    }
}

TEST(ProgramIcon, WindowsIcoHoldsOne32By32TrueColourImage) {
    const auto ico = read_bytes(source_dir + "/packaging/windows/raziz.ico");
    ASSERT_GE(ico.size(), 22u);
    EXPECT_EQ(le16(ico, 0), 0u);  // reserved
    EXPECT_EQ(le16(ico, 2), 1u);  // icon, not cursor
    ASSERT_EQ(le16(ico, 4), 1u);  // one image
    EXPECT_EQ(ico[6], 32);
    EXPECT_EQ(ico[7], 32);
    EXPECT_EQ(le16(ico, 10), 1u);   // planes
    EXPECT_EQ(le16(ico, 12), 24u);  // bits per pixel
    const std::uint32_t size = le32(ico, 14), offset = le32(ico, 18);
    ASSERT_EQ(std::size_t{offset} + size, ico.size());

    // The image: a bottom-up 24-bit bitmap with its AND mask, rows padded to 4 bytes.
    ASSERT_EQ(le32(ico, offset), 40u);
    EXPECT_EQ(le32(ico, offset + 4), 32u);
    EXPECT_EQ(le32(ico, offset + 8), 64u);  // colour rows and mask rows together
    EXPECT_EQ(le16(ico, offset + 12), 1u);
    EXPECT_EQ(le16(ico, offset + 14), 24u);
    EXPECT_EQ(le32(ico, offset + 16), 0u);  // uncompressed
    ASSERT_EQ(size, 40u + 32u * 32u * 3u + 32u * 4u);

    // Mask bit set = transparent: the badge's rounded corners are, its middle is not.
    const std::size_t mask = offset + 40 + 32 * 32 * 3;
    auto transparent = [&](int x, int y_from_top) {
        return (ico[mask + static_cast<std::size_t>(31 - y_from_top) * 4 + static_cast<std::size_t>(x / 8)] >>
                (7 - x % 8)) &
               1;
    };
    EXPECT_EQ(transparent(0, 0), 1);
    EXPECT_EQ(transparent(31, 31), 1);
    EXPECT_EQ(transparent(16, 16), 0);
}

}  // namespace
}  // namespace raziz::test
