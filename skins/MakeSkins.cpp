// make-skins FOLDER: draws the program's skin pictures into FOLDER/BMP and
// its desktop icon into FOLDER/quenlo.png.
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "skins/SkinSet.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(argc == 2 ? stdout : stderr,
                     "usage: make-skins FOLDER\n"
                     "Draws every skin picture of the client into FOLDER/BMP/ and its\n"
                     "desktop icon into FOLDER/quenlo.png.\n");
        return argc == 2 ? 0 : 2;
    }
    QGuiApplication application(argc, argv);  // fonts for the captions
    const skins::SkinSetResult result = skins::WriteSkinSet(argv[1]);
    for (const std::string& name : result.failed)
        std::fprintf(stderr, "make-skins: cannot write %s/%s\n", argv[1], name.c_str());
    const bool icon = skins::WriteProgramIcon(std::filesystem::path(argv[1]) / "quenlo.png");
    if (!icon)
        std::fprintf(stderr, "make-skins: cannot write %s/quenlo.png\n", argv[1]);
    return result.failed.empty() && icon ? 0 : 1;
}
