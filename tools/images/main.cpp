// main.cpp: quillory_art, which paints the game's ten screen pictures and
// its application icon.
//
// Usage: quillory_art IMAGES_FOLDER [ICONS_FOLDER] (normally assets/images and
// assets/icons). Writes every picture under the name the game loads it by, and
// each icon size as quillory_<N>.png; exits 1 on any failure.
#include "tools/images/icons.h"
#include "tools/images/png_writer.h"
#include "tools/images/screens.h"
#include "tools/images/style.h"
#include "tools/images/text.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: " << argv[0] << " IMAGES_FOLDER [ICONS_FOLDER]\n";
        return 1;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        const art::FontLibrary library;
        const art::style::Fonts fonts(library);
        for (const art::Screen& screen : art::kScreens) {
            const std::filesystem::path path = folder / screen.fileName;
            art::writePng(screen.build(fonts), path.string());
            std::cout << "wrote " << path.string() << '\n';
        }
        if (argc == 3) {
            const std::filesystem::path icons = argv[2];
            std::filesystem::create_directories(icons);
            for (const int size : art::kIconSizes) {
                const std::filesystem::path path =
                    icons / ("quillory_" + std::to_string(size) + ".png");
                const art::Icon icon = art::buildIcon(library, size);
                art::writePngWithAlpha(icon.colour, icon.coverage, path.string());
                std::cout << "wrote " << path.string() << '\n';
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "quillory_art: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
