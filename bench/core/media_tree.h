#pragma once

// A generated music folder for the playlist benchmarks: 100 folders of 1,000 media files
// with mixed-case names of a few words, made once per run in a temporary folder.

#include <string>
#include <vector>

namespace zefa::bench {

constexpr int kTreeFolders = 100, kTreeFilesPerFolder = 1000;
constexpr int kTreeFiles = kTreeFolders * kTreeFilesPerFolder;

// The root of the tree (made on first use, removed at exit).
const std::string& media_tree();
// The full paths of all its files.
std::vector<std::string> media_tree_files();

} // namespace zefa::bench
