// orvan-demo-assets OUT_DIR: draws every picture and synthesises every sound of the demo
// game into OUT_DIR, where "orvan-tool build demo/game.json DATA --assets OUT_DIR" finds them.
// orvan-demo-assets --icons OUT_DIR: the program's icon in several sizes, drawn from the
// demo's art, as OUT_DIR/NxN/apps/orvan.png.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "art.h"
#include "icon.h"
#include "sound_files.h"
#include "sounds.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icons") {
        ::mkdir(argv[2], 0777);
        if (demo::WriteIcons(argv[2], {16, 32, 48, 64, 128, 256})) return 0;
        std::fprintf(stderr, "orvan-demo-assets: cannot write the icons into %s\n", argv[2]);
        return 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvan-demo-assets OUT_DIR | --icons OUT_DIR\n");
        return 2;
    }
    std::string dir = argv[1];
    ::mkdir(dir.c_str(), 0777);
    int failures = 0;
    for (const demo::Picture& p : demo::DrawAllPictures())
        if (!p.canvas.WritePng(dir + "/" + p.file)) {
            std::fprintf(stderr, "orvan-demo-assets: cannot write %s\n", p.file.c_str());
            ++failures;
        }
    for (const demo::SoundPiece& s : demo::MakeAllSounds()) {
        std::string path = dir + "/" + s.file;
        bool ogg = s.file.size() > 4 && s.file.compare(s.file.size() - 4, 4, ".ogg") == 0;
        if (!(ogg ? demo::WriteOgg(path, s.samples) : demo::WriteWav(path, s.samples))) {
            std::fprintf(stderr, "orvan-demo-assets: cannot write %s\n", s.file.c_str());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
