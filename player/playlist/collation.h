#pragma once

// Ordering of playlist paths by the user's collation (LC_COLLATE).

#include <cstddef>
#include <string>
#include <vector>

namespace zefa {

// The string whose byte order is the collation order of the text (strxfrm). Only the text
// before a NUL byte takes part.
std::string collation_key(const std::string& text);

// Sorts items[lo..hi] (0-based, inclusive) ascending by collation; texts the collation calls
// equal keep byte order among themselves. The rest of the vector stays put.
void collate_sort(std::vector<std::string>& items, size_t lo, size_t hi);

} // namespace zefa
