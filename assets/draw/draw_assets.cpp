// Draws every picture Raziz ships: the two lamps and the slider backdrop, at their own size and at twice
// it, into the assets folder, the program's icon into the packaging folder. The outputs are committed;
// run this only to change them (scripts/draw-assets).

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "assets/draw/emblem.h"
#include "assets/draw/ico_file.h"
#include "assets/draw/lamp.h"
#include "assets/draw/png_file.h"
#include "assets/draw/slider_backdrop.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ASSETS_DIR PACKAGING_DIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path assets = argv[1];
    const std::filesystem::path packaging = argv[2];
    try {
        std::filesystem::create_directories(assets);
        std::filesystem::create_directories(packaging / "icons");
        std::filesystem::create_directories(packaging / "windows");

        draw::write_png((assets / "verde.png").string(), draw::draw_lamp(draw::LampColour::green),
                        draw::Channels::rgba);
        draw::write_png((assets / "rosso.png").string(), draw::draw_lamp(draw::LampColour::red), draw::Channels::rgba);
        draw::write_png((assets / "slider.png").string(), draw::draw_slider_backdrop(), draw::Channels::rgb);
        // Twice the size, for screens that show the layout at 1.5 times or more.
        draw::write_png((assets / "verde@2x.png").string(), draw::draw_lamp(draw::LampColour::green, 2),
                        draw::Channels::rgba);
        draw::write_png((assets / "rosso@2x.png").string(), draw::draw_lamp(draw::LampColour::red, 2),
                        draw::Channels::rgba);
        draw::write_png((assets / "slider@2x.png").string(), draw::draw_slider_backdrop(2), draw::Channels::rgb);
        for (int size : {32, 48, 128, 256}) {
            const std::string name = "raziz-" + std::to_string(size) + ".png";
            draw::write_png((packaging / "icons" / name).string(), draw::draw_emblem(size), draw::Channels::rgba);
        }
        draw::write_ico_24bit((packaging / "windows" / "raziz.ico").string(), draw::draw_emblem(32));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "draw-assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
