#pragma once

// A Player wired to fakes, in a temporary program folder of its own.

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "fake_engines.h"
#include "fake_platform.h"
#include "shell/player.h"

namespace zefa::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string() + "/"; }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

  private:
    std::filesystem::path path_;
};

// A settings file of `lines` lines with the given values at their lines and the defaults
// elsewhere.
std::string settings_text(std::map<size_t, std::string> values, size_t lines = kSettingCount,
                          const char* eol = "\r\n");

struct Harness {
    TempDir dir;
    FakeWindows win;
    FakeInput input;
    FakeScreen screen;
    FakeDialogs dialogs;
    FakeImages images;
    FakeVelmo velmo;
    FakeRealPlayer real1, real2;
    FakeFlash flash;
    std::unique_ptr<Player> player;

    explicit Harness(std::string command_path = "");
    Player& p() { return *player; }
    // Runs the main loop n times.
    void ticks(int n = 1);
    // Runs the first tick (start-up) without a settings file unless one was written.
    void start() { ticks(1); }
    // Starts with every setting at its default except AutoPlay 0: nothing plays by itself.
    void start_idle() {
        dir.write("ZEFA.cfg", settings_text({{40, "0"}}));
        start();
    }
};

} // namespace zefa::test
