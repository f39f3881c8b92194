// vexaro-gen-art OUTDIR [SHEET.png]: writes every picture of the game into OUTDIR, the desktop
// icons into OUTDIR/icons, and, when asked, a contact sheet of the game's pictures.
#include "art.h"

#include "platform/assets.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTDIR [SHEET.png]\n", argv[0]);
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        const std::string folder = std::string(argv[1]) + "/";
        const std::vector<art::Artwork> artwork = art::AllArtwork();
        std::vector<art::Artwork> everything = artwork;
        for (art::Artwork& icon : art::DesktopIcons()) // for the desktop, not for the game
            everything.push_back(std::move(icon));
        for (const art::Artwork& a : everything) {
            std::filesystem::create_directories(
                std::filesystem::path(folder + a.name).parent_path());
            if (!platform::WritePng(a.picture.toPicture(a.withAlpha), folder + a.name)) {
                std::fprintf(stderr, "cannot write %s%s\n", folder.c_str(), a.name.c_str());
                return 1;
            }
        }
        if (argc == 3 &&
            !platform::WritePng(art::ContactSheet(artwork).toPicture(false), argv[2])) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vexaro-gen-art: %s\n", e.what());
        return 1;
    }
    return 0;
}
