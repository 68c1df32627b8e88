// A pipe, a link to /dev/zero or an oversized file in place of each file the player reads:
// every load ends at once with the file's "cannot be read" message. Each runs in a child
// process with a time limit, since a load that blocks or reads without end never returns.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "bounded_child.h"
#include "config/file_text.h"
#include "skin_fixture.h"

namespace zefa::test {
namespace {

enum class Kind { Pipe, Zero, Oversize };
constexpr Kind kKinds[] = {Kind::Pipe, Kind::Zero, Kind::Oversize};
const char* const kNoFile = "I/O エラー (22)";
const char* const kTooLarge = "I/O エラー (27)";

// Puts the kind of file at the path; an oversized file is sparse, one byte over the bound.
void make(const std::string& path, Kind kind, size_t bound) {
    std::filesystem::remove(path);
    switch (kind) {
    case Kind::Pipe:
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        break;
    case Kind::Zero:
        std::filesystem::create_symlink("/dev/zero", path);
        break;
    case Kind::Oversize:
        std::ofstream{path};
        ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(bound + 1)), 0);
        break;
    }
}

class HostileFiles : public SkinTest {
  protected:
    // The messages shown by the step and its result, or "hung".
    std::string shown(const std::function<std::string()>& step) {
        return run_bounded([&] {
                   std::string out = step();
                   for (const std::string& m : h.dialogs.messages)
                       out += "|" + m;
                   return out;
               })
            .value_or("hung");
    }
};

TEST_F(HostileFiles, SettingsFileStopsItsLoadAndStartUpGoesOn) {
    const std::string cfg = h.dir.str() + "ZEFA.cfg";
    for (Kind kind : kKinds) {
        make(cfg, kind, kMaxSettingsBytes);
        const std::string message = kind == Kind::Oversize ? kTooLarge : kNoFile;
        EXPECT_EQ(shown([&] { return std::to_string(p.CFG_DATA(0)); }), "0|" + message);
        EXPECT_EQ(shown([&] {
                      h.start();
                      return "started " + std::to_string(p.sh.started);
                  }),
                  "started 1|" + message);
    }
}

TEST_F(HostileFiles, PlaylistFileStopsItsLoad) {
    const std::string hen = h.dir.str() + "zefa.hen";
    for (Kind kind : kKinds) {
        make(hen, kind, kMaxPlaylistBytes);
        const std::string message = kind == Kind::Oversize ? kTooLarge : kNoFile;
        EXPECT_EQ(shown([&] { return std::to_string(p.HEN_LOAD(0, hen)); }), "0|" + message);
    }
}

TEST_F(HostileFiles, SkinTableAndPictureStopTheSkinLoad) {
    for (Kind kind : kKinds) {
        set_picture(Bitmap(10, 10));
        make(folder() + "main.da1", kind, kMaxSkinTableBytes);
        const std::string message = kind == Kind::Oversize ? kTooLarge : kNoFile;
        EXPECT_EQ(shown([&] {
                      p.load_skin("T");
                      return std::to_string(p.skin.skin_bitmap.width());
                  }),
                  "0|" + message);
    }
    write_table(table_text({{0, {0, 0, 10, 10}}}));
    h.images.pictures.clear(); // read from the file
    for (Kind kind : kKinds) {
        make(folder() + "main.bmp", kind, kMaxBitmapBytes);
        const std::string message = kind == Kind::Oversize
                                        ? "ビットマップイメージが不正です"
                                        : "ファイル " + folder() + "main.bmp は開けません";
        EXPECT_EQ(shown([&] {
                      p.load_skin("T");
                      return std::to_string(p.skin.el[kElFace].w);
                  }),
                  "10|" + message);
    }
}

// Saves killed before their rename leave temporaries; start-up removes ours and nothing else.
TEST_F(HostileFiles, StartUpRemovesTheTemporariesOfInterruptedSaves) {
    for (const char* name : {"ZEFA.cfg.a1B2c3", "zefa.hen.XyZ789", "zefa.hen.bak", "notes.abcdef"})
        h.dir.write(name, "x");
    h.start();
    EXPECT_FALSE(std::filesystem::exists(h.dir.str() + "ZEFA.cfg.a1B2c3"));
    EXPECT_FALSE(std::filesystem::exists(h.dir.str() + "zefa.hen.XyZ789"));
    EXPECT_TRUE(std::filesystem::exists(h.dir.str() + "zefa.hen.bak"));
    EXPECT_TRUE(std::filesystem::exists(h.dir.str() + "notes.abcdef"));
}

} // namespace
} // namespace zefa::test
