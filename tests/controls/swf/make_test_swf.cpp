// Writes the Flash movies the end-to-end tests play: a 320 x 240 stage in one colour for two
// seconds at 24 frames per second (zlib-compressed), a movie whose body does not inflate, and
// a blue 40 x 40 square crossing a green stage that stops on its last frame.

#include <cstdio>
#include <string>

#include "shape_writer.h"
#include "swf_writer.h"
#include "timeline_writer.h"

namespace {

using namespace zefa::test;

// 48 frames: the square's left edge at 5 pixels a frame, its top at 100 pixels.
std::string moving() {
    SwfWriter w;
    w.background(0x00FF00).rate(24 << 8);
    w.tag(kDefineShape3,
          ShapeBuilder::rect(1, 0, 0, 800, 800, {0, 0, 255, 255}).bytes(kDefineShape3));
    for (int f = 0; f < 48; ++f) {
        const zefa::swf::Matrix m{1, 0, 0, 1, f * 100.0, 2000};
        PlaceFields p = PlaceFields(1).with_matrix(m).moving(f > 0);
        if (f == 0) p.character = 1;
        w.tag(kPlaceObject2, place2(p));
        if (f == 47) w.tag(kDoAction, do_action({action_stop()}));
        w.show_frames(1);
    }
    return w.end().cws();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_test_swf FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    write_file(folder + "/movie.swf", SwfWriter().background(0x3366CC).show_frames(48).end().cws());
    std::string broken = SwfWriter().background(0x3366CC).show_frames(48).end().cws();
    for (size_t i = 8; i < broken.size(); ++i)
        broken[i] = static_cast<char>(broken[i] ^ 0x5A);
    write_file(folder + "/garbage.swf", broken);
    write_file(folder + "/moving.swf", moving());
    return 0;
}
