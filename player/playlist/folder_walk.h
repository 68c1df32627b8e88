#pragma once

// The walk through dropped folders.

#include <functional>
#include <string>
#include <vector>

namespace zefa {

// Walks the folders from the first on; every subfolder found is appended to the list and
// walked in its turn, so the walk is breadth-first. Every other entry, hidden ones included,
// goes to on_file as a full path, in the order the folder yields them. A folder reached a
// second time (a symbolic link back up the tree, or the same folder twice) is not walked
// again; a folder that cannot be opened is passed over.
void walk_folders(std::vector<std::string>& folders,
                  const std::function<void(std::string&& path)>& on_file);

} // namespace zefa
