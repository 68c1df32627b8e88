// Draws the bundled skins: skinmaker <Skin folder> writes <folder>/<name>/main.da1 and main.bmp.

#include <cstdio>
#include <string>

#include "skin_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skinmaker SKIN_FOLDER\n");
        return 2;
    }
    for (const skinmaker::Design& d : {skinmaker::default01(), skinmaker::default02()}) {
        if (!skinmaker::write_skin(d, std::string(argv[1]) + "/" + d.name)) {
            std::fprintf(stderr, "skinmaker: cannot write %s\n", d.name.c_str());
            return 1;
        }
    }
    return 0;
}
