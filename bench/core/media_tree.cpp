#include "media_tree.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "harness.h"

namespace zefa::bench {

namespace {

std::string random_name(std::mt19937& rng) {
    static const char* const words[] = {"Track",  "song", "Live", "demo", "Intro", "remix",
                                        "Ballad", "act",  "Zero", "mix",  "Take",  "édition"};
    std::string name;
    for (int w = 0; w < 3; ++w)
        name += std::string(words[rng() % 12]) + " ";
    return name + std::to_string(rng() % 100000);
}

} // namespace

const std::string& media_tree() {
    static const std::unique_ptr<test::TempDir> dir = [] {
        auto d = std::make_unique<test::TempDir>();
        std::mt19937 rng(42);
        static const char* const exts[] = {".mp3", ".avi", ".WAV", ".mpg"};
        for (int f = 0; f < kTreeFolders; ++f) {
            const std::filesystem::path folder = d->path() / "music" / random_name(rng);
            std::filesystem::create_directories(folder);
            for (int i = 0; i < kTreeFilesPerFolder; ++i)
                std::ofstream(folder / (random_name(rng) + exts[rng() % 4]));
        }
        return d;
    }();
    static const std::string root = dir->str() + "music";
    return root;
}

std::vector<std::string> media_tree_files() {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(media_tree()))
        if (e.is_regular_file()) out.push_back(e.path().string());
    return out;
}

} // namespace zefa::bench
