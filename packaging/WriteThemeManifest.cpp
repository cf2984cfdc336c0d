// Writes the theme manifest of LStartUp.exe to the file named, byte for byte
// the text the program writes beside itself when it finds none: the
// installer lays it there, where a standard user could not write it.

#include <fstream>
#include <iostream>

#include "ui/logic/ThemeManifest.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: lsu_theme_manifest FILE\n";
        return 2;
    }
    const std::string text = lsu::themeManifestText("LStartUp.exe");
    std::ofstream file(argv[1], std::ios::binary);
    file << text;
    file.close();
    if (!file) {
        std::cerr << "lsu_theme_manifest: could not write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
