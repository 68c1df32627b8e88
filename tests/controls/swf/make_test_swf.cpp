// Writes the Flash movies the end-to-end tests play: a 320 x 240 stage in one colour for two
// seconds at 24 frames per second (zlib-compressed), and a movie whose body does not inflate.

#include <cstdio>
#include <string>

#include "swf_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_test_swf FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    using zefa::test::SwfWriter;
    zefa::test::write_file(folder + "/movie.swf",
                           SwfWriter().background(0x3366CC).show_frames(48).end().cws());
    std::string broken = SwfWriter().background(0x3366CC).show_frames(48).end().cws();
    for (size_t i = 8; i < broken.size(); ++i)
        broken[i] = static_cast<char>(broken[i] ^ 0x5A);
    zefa::test::write_file(folder + "/garbage.swf", broken);
    return 0;
}
