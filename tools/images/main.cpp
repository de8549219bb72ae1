// main.cpp: quillory_art, which paints the game's ten screen pictures.
//
// Usage: quillory_art OUTPUT_FOLDER (normally assets/images). Writes every
// picture under the name the game loads it by; exits 1 on any failure.
#include "tools/images/png_writer.h"
#include "tools/images/screens.h"
#include "tools/images/style.h"
#include "tools/images/text.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " OUTPUT_FOLDER\n";
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
    } catch (const std::exception& error) {
        std::cerr << "quillory_art: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
