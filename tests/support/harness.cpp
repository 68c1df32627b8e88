#include "harness.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zefa::test {

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zefa-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
}

std::string TempDir::read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string settings_text(std::map<size_t, std::string> values, size_t lines, const char* eol) {
    Settings d;
    apply_setting_defaults(d, DefaultPhase::Create);
    apply_setting_defaults(d, DefaultPhase::Startup);
    std::string text;
    for (size_t n = 0; n < lines; ++n) {
        const SettingField* f = n < kSettingCount ? &kSettingFields[n] : nullptr;
        std::string value;
        if (values.count(n))
            value = values[n];
        else if (!f)
            value = "0";
        else
            value = f->str_member ? d.*f->str_member : std::to_string(d.*f->int_member);
        text += (f ? f->key : "Extra=") + value + eol;
    }
    return text;
}

Harness::Harness(std::string command_path) {
    // The default skin is a picture without a table: start-up loads it quietly and every
    // rectangle stays 0. Tests that need a skin write their own.
    images.pictures[dir.str() + "Skin/Default01/main.bmp"] = Bitmap(1, 1, 0xFFFFFF);
    player = std::make_unique<Player>(Ports{win, input, screen, dialogs, images},
                                      Engines{velmo.api(), real1, real2, flash}, dir.str(),
                                      std::move(command_path));
    player->FormCreate();
}

void Harness::ticks(int n) {
    for (int i = 0; i < n; ++i)
        player->Timer1Timer();
}

} // namespace zefa::test
