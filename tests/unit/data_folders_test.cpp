// Where the settings, the playlist and the skins are looked for: beside a writable program,
// in the user's folders otherwise; and what the command line asks for.

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "config/data_folders.h"
#include "harness.h"
#include "shell/command_line.h"

using namespace zefa;
using namespace zefa::test;
namespace fs = std::filesystem;

namespace {

// A folder no one can make files in, not even root (the tests may run as root).
const std::string kUnwritable = "/proc/self/";

mode_t mode_of(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 0777;
}

} // namespace

TEST(DataFolders, AWritableProgramFolderKeepsItsFilesAndMakesNoOthers) {
    TempDir prog, home;
    const DataFolders f = choose_data_folders(prog.str(), {home.path().string(), "", ""});
    EXPECT_EQ(f.data, prog.str());
    EXPECT_EQ(f.user_skins, "");
    EXPECT_FALSE(fs::exists(home.path() / ".config")) << "nothing made in the home folder";
    EXPECT_TRUE(fs::is_empty(prog.path())) << "the write test leaves nothing behind";
    EXPECT_FALSE(folder_is_writable(kUnwritable));
}

TEST(DataFolders, AnUnwritableProgramFolderUsesTheUsersConfigAndDataFolders) {
    TempDir home, xdg;
    const std::string h = home.path().string();
    DataFolders f = choose_data_folders(kUnwritable, {h, "", ""});
    EXPECT_EQ(f.data, h + "/.config/zefa/");
    EXPECT_EQ(f.user_skins, h + "/.local/share/zefa/Skin/");
    EXPECT_EQ(mode_of(h + "/.config/zefa"), 0700u);
    EXPECT_EQ(mode_of(h + "/.config"), 0700u);

    const std::string x = xdg.path().string();
    f = choose_data_folders(kUnwritable, {h, x + "/conf", x + "/data"});
    EXPECT_EQ(f.data, x + "/conf/zefa/");
    EXPECT_EQ(f.user_skins, x + "/data/zefa/Skin/");
    // Relative XDG folders are not valid ones: the defaults stand.
    f = choose_data_folders(kUnwritable, {h, "conf", "data"});
    EXPECT_EQ(f.data, h + "/.config/zefa/");
    EXPECT_EQ(f.user_skins, h + "/.local/share/zefa/Skin/");
}

TEST(DataFolders, AConfigFolderThatCannotBeMadeLeavesTheProgramFolder) {
    TempDir home;
    home.write(".config", "a file where the folder should be");
    DataFolders f = choose_data_folders(kUnwritable, {home.path().string(), "", ""});
    EXPECT_EQ(f.data, kUnwritable);
    EXPECT_EQ(home.read(".config"), "a file where the folder should be") << "nothing lost";
    f = choose_data_folders(kUnwritable, {"", "", ""});
    EXPECT_EQ(f.data, kUnwritable) << "no home at all";
}

TEST(DataFolders, ThePlayerKeepsItsFilesInTheDataFolderAndFindsTheUsersSkins) {
    TempDir data, skins;
    Harness h;
    fs::create_directories(skins.path() / "Mine");
    fs::create_directories(h.dir.path() / "Skin" / "Default01");
    fs::create_directories(h.dir.path() / "Skin" / "Default02");
    fs::create_directories(skins.path() / "Default01");
    h.p().use_folders(data.str(), skins.str());
    data.write("ZEFA.cfg", settings_text({{40, "0"}, {0, "123"}}));
    h.start();
    EXPECT_EQ(h.p().cfg.Window_x, 123) << "read from the data folder";
    EXPECT_EQ(h.p().skin_names(), (std::vector<std::string>{"Default01", "Default02", "Mine"}));
    EXPECT_EQ(h.p().skin_folder("Default01"), h.dir.str() + "Skin/Default01/")
        << "the program's own skin comes first";
    EXPECT_EQ(h.p().skin_folder("Mine"), skins.str() + "Mine/");
    h.p().cfg.Window_x = 77;
    ASSERT_TRUE(h.p().CFG_DATA(1));
    EXPECT_NE(data.read("ZEFA.cfg").find("Window_x=77"), std::string::npos);
    EXPECT_FALSE(fs::exists(h.dir.path() / "ZEFA.cfg")) << "nothing written beside the program";
}

TEST(CommandLine, HelpAndVersionUnlessAFileOfThatNameExists) {
    const auto none = [](const std::string&) { return false; };
    const auto all = [](const std::string&) { return true; };
    EXPECT_EQ(read_command_line("--help", none), CommandLineRequest::Help);
    EXPECT_EQ(read_command_line("--version", none), CommandLineRequest::Version);
    EXPECT_EQ(read_command_line("--help", all), CommandLineRequest::Play);
    EXPECT_EQ(read_command_line("--version", all), CommandLineRequest::Play);
    EXPECT_EQ(read_command_line("", none), CommandLineRequest::Play);
    EXPECT_EQ(read_command_line("-h", none), CommandLineRequest::Play) << "played as before";
    EXPECT_EQ(read_command_line("--helpful.avi", none), CommandLineRequest::Play);
    EXPECT_NE(usage_text().find("Usage: zefa [FILE]"), std::string::npos);
    EXPECT_EQ(version_text().rfind("ZEFA ", 0), 0u);
}
